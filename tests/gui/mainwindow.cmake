# SPDX-License-Identifier: GPL-3.0-or-later
zadw_gui_test(zadw_reports_dlg_tests ReportsDlgTest.cpp)
zadw_gui_test(zadw_sent_state_tests SentStateTest.cpp)
zadw_gui_test(zadw_translations_tests TranslationsTest.cpp LINK zadw_platform)
zadw_gui_test(zadw_platform_tests PlatformTest.cpp)
zadw_gui_test(zadw_keys_texts_tests KeysAndTextsTest.cpp)

# A few tests with real key events through X11: they run on Xvfb, which ctest starts.
find_program(ZADW_XVFB_RUN xvfb-run)
find_program(ZADW_XDOTOOL xdotool)
if(ZADW_XVFB_RUN AND ZADW_XDOTOOL)
    add_executable(zadw_real_keys_tests RealKeysTest.cpp)
    target_link_libraries(zadw_real_keys_tests PRIVATE zadw_mainwindow_gui Qt6::Test)
    target_include_directories(zadw_real_keys_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/data ${CMAKE_CURRENT_SOURCE_DIR})
    add_test(NAME zadw_real_keys_tests
             COMMAND ${ZADW_XVFB_RUN} -a -s "-screen 0 1024x768x24" $<TARGET_FILE:zadw_real_keys_tests>)
    set_tests_properties(zadw_real_keys_tests PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=xcb;LC_ALL=C.UTF-8;XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-home/state" TIMEOUT 90)
else()
    message(WARNING "xvfb-run or xdotool missing (scripts/install-deps): the real-key tests are left out")
endif()

zadw_gui_test(zadw_missing_reports_tests MissingReportsDlgTest.cpp)
target_compile_definitions(zadw_missing_reports_tests PRIVATE
    ZADW_FAKES_DIR="${CMAKE_CURRENT_LIST_DIR}/fakes")

zadw_gui_test(zadw_year_overview_tests YearOverviewDlgTest.cpp)

zadw_gui_test(zadw_qt_dialog_language_tests QtDialogLanguageTest.cpp LINK zadw_platform)

# One group file, several hands on it: real zadw processes for the lock and the hand-over.
zadw_gui_test(zadw_group_file_process_tests GroupFileProcessTest.cpp)
target_compile_definitions(zadw_group_file_process_tests PRIVATE
    ZADW_BINARY="$<TARGET_FILE:zadw>")
add_dependencies(zadw_group_file_process_tests zadw)
set_tests_properties(zadw_group_file_process_tests PROPERTIES TIMEOUT 120)

# Who owns a group file in a shared folder: planted paths, hard links, starts at one instant.
zadw_gui_test(zadw_group_file_lock_tests GroupFileLockTest.cpp)
target_compile_definitions(zadw_group_file_lock_tests PRIVATE ZADW_BINARY="$<TARGET_FILE:zadw>")
add_dependencies(zadw_group_file_lock_tests zadw)
set_tests_properties(zadw_group_file_lock_tests PROPERTIES TIMEOUT 120)

# The windows through the accessibility interface, as a screen reader and voice control use them.
# Only the platform switches accessibility on, so this test reaches it through Qt's private API.
zadw_gui_test(zadw_screen_reader_tests ScreenReaderTest.cpp)
target_link_libraries(zadw_screen_reader_tests PRIVATE Qt6::GuiPrivate)

# Every window at 8 to 18 points on a full-HD screen.
zadw_gui_test(zadw_large_text_tests LargeTextTest.cpp)

# The window on Wayland, under a headless weston that under-weston starts for it; skipped (77)
# where weston or qt6-wayland is missing or weston cannot start.
add_executable(zadw_wayland_smoke_test WaylandSmokeTest.cpp)
target_link_libraries(zadw_wayland_smoke_test PRIVATE zadw_mainwindow_gui Qt6::Test)
target_include_directories(zadw_wayland_smoke_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/data
                           ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(zadw_wayland_smoke_test PRIVATE ZADW_BINARY="$<TARGET_FILE:zadw>")
add_dependencies(zadw_wayland_smoke_test zadw)
add_test(NAME zadw_wayland_smoke_test
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/under-weston $<TARGET_FILE:zadw_wayland_smoke_test>)
set_tests_properties(zadw_wayland_smoke_test PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60
    ENVIRONMENT "LC_ALL=C.UTF-8;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-home/data;XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-home/state")
