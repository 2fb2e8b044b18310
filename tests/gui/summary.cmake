# SPDX-License-Identifier: GPL-3.0-or-later
# The painter adapter on images, and the preview dialog driven through the main window.
zadw_gui_test(zadw_summary_painter_tests SummaryPainterTest.cpp LINK zadw_summary_gui)
zadw_gui_test(zadw_summary_preview_tests SummaryPreviewTest.cpp)
target_include_directories(zadw_summary_preview_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/summary)
# The sample group, when examples/ builds it; the test makes a group of its own otherwise.
if(TARGET zadw_sample)
    add_dependencies(zadw_summary_preview_tests zadw_sample)
    target_compile_definitions(zadw_summary_preview_tests PRIVATE
        ZADW_SAMPLE_Z08="${CMAKE_BINARY_DIR}/examples/grupp4.z08")
endif()
