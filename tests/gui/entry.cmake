# SPDX-License-Identifier: GPL-3.0-or-later
zadw_gui_test(zadw_report_entry_tests ReportEntryTestMain.cpp ReportEntryDlgTest.cpp ReportEntryRemarkTest.cpp ReportEntryMonthTest.cpp)
zadw_gui_test(zadw_english_windows_tests EnglishWindowsTest.cpp)
