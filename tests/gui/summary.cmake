# SPDX-License-Identifier: GPL-3.0-or-later
# The painter adapter on images, and the preview dialog driven through the main window.
zadw_gui_test(zadw_summary_painter_tests SummaryPainterTest.cpp)
zadw_gui_test(zadw_summary_preview_tests SummaryPreviewTest.cpp)
target_include_directories(zadw_summary_preview_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/summary)
# The sample group, when examples/ builds it; the test makes a group of its own otherwise.
if(TARGET zadw_sample)
    add_dependencies(zadw_summary_preview_tests zadw_sample)
    target_compile_definitions(zadw_summary_preview_tests PRIVATE
        ZADW_SAMPLE_Z08="${CMAKE_BINARY_DIR}/examples/grupp4.z08")
endif()

# The printed list as PDF files without any window, read back with poppler (pdfinfo, pdftotext);
# with zadw-tool's summary command when the tool is built.
set(summary_pdf_sources ${PROJECT_SOURCE_DIR}/tests/summary/pdf/SummaryPdfTest.cpp)
if(ZADW_TOOLS)
    list(APPEND summary_pdf_sources
        ${PROJECT_SOURCE_DIR}/src/tools/SummaryCommand.cpp
        ${PROJECT_SOURCE_DIR}/src/tools/ToolSupport.cpp)
endif()
add_executable(zadw_summary_pdf_tests ${summary_pdf_sources})
target_link_libraries(zadw_summary_pdf_tests PRIVATE zadw_summary_print zadw_entry_rules GTest::gtest_main)
target_include_directories(zadw_summary_pdf_tests PRIVATE
    ${PROJECT_SOURCE_DIR}/tests/data ${PROJECT_SOURCE_DIR}/tests/summary
    ${PROJECT_SOURCE_DIR}/src/tools)
if(NOT ZADW_TOOLS)
    target_compile_definitions(zadw_summary_pdf_tests PRIVATE ZADW_NO_TOOL)
endif()
gtest_discover_tests(zadw_summary_pdf_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
