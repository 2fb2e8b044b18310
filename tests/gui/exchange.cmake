zadw_gui_test(zadw_exchange_gui_tests ExchangeGuiTest.cpp)
# The stand-in mail programs are copied from here into each test's scratch folder.
target_compile_definitions(zadw_exchange_gui_tests PRIVATE
    ZADW_FAKES_DIR="${CMAKE_CURRENT_LIST_DIR}/fakes")
