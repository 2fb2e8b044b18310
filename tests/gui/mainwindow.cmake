zadw_gui_test(zadw_reports_dlg_tests ReportsDlgTest.cpp)
zadw_gui_test(zadw_translations_tests TranslationsTest.cpp)
zadw_gui_test(zadw_platform_tests PlatformTest.cpp)
zadw_gui_test(zadw_missing_reports_tests MissingReportsDlgTest.cpp)
target_compile_definitions(zadw_missing_reports_tests PRIVATE
    ZADW_FAKES_DIR="${CMAKE_CURRENT_LIST_DIR}/fakes")
