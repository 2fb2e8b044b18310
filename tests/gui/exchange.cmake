# SPDX-License-Identifier: GPL-3.0-or-later
zadw_gui_test(zadw_exchange_gui_tests ExchangeGuiTest.cpp)
# The stand-in mail programs are copied from here into each test's scratch folder.
target_compile_definitions(zadw_exchange_gui_tests PRIVATE
    ZADW_FAKES_DIR="${CMAKE_CURRENT_LIST_DIR}/fakes")

# Real msmtp against a local SMTP server the test starts and stops; bounded so a stuck server
# cannot hold the run.
find_package(Qt6 REQUIRED COMPONENTS Network)
zadw_gui_test(zadw_msmtp_delivery_test MsmtpDeliveryTest.cpp)
target_link_libraries(zadw_msmtp_delivery_test PRIVATE Qt6::Network)
set_tests_properties(zadw_msmtp_delivery_test PROPERTIES TIMEOUT 60)
