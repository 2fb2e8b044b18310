// SPDX-License-Identifier: GPL-3.0-or-later
#include "CollectorApp.h"

#include "ExitWhenShown.h"
#include "FileDlg.h"
#include "GroupFileLocks.h"
#include "MailSystem.h"
#include "PrinterChoice.h"
#include "QtMessageSink.h"
#include "ReportsDlg.h"
#include "Resources.h"
#include "SettingsProfile.h"
#include "Strings.h"
#include "Telephony.h"
#include "Translations.h"
#include "Version.h"

#include <QDate>
#include <QIcon>

#include <cstdlib>

namespace zadw {
CCollectorApp::CCollectorApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The arguments as the system gave them: a file name need not be valid UTF-8.
    for (int i = 1; i < argc; ++i) {
        if (!rawArguments_.empty()) {
            rawArguments_ += ' ';
        }
        rawArguments_ += argv[i];
    }
    setApplicationName(QStringLiteral("zadw"));
    setApplicationVersion(QStringLiteral(ZADW_VERSION));
    initResources();
    setWindowIcon(QIcon(QStringLiteral(":/zadw/icon.svg"))); // every window's icon
    setDesktopFileName(QStringLiteral("zadw"));
}

bool CCollectorApp::InitInstance() {
    // The locale picks the string table; Qt's own dialogs follow the same choice.
    SetLanguage(
        LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
    installTranslations(*this, CurrentLanguage());
    profilePath_ = profilePathFor(applicationFilePath());
    IniProfile profile(profilePath_);
    QtMessageSink messages;
    CFileDlgChooser files;
    Services services;
    services.messages = &messages;
    services.files = &files;
    services.profile = &profile;
    services.clock = [] { return std::time(nullptr); };
    MailSystem mail(services.clock, {}, &profile, &messages);
    DesktopFileHandOver handOver;
    Telephony telephone;
    services.mail = &mail;
    services.handOver = &handOver;
    services.telephone = &telephone;
    QtPrinterChoice printers; // the printer chosen in print setup lasts for the run
    services.printer = &printers;
    GroupFileLocks locks;
    services.locks = &locks;

    QStringList args = arguments();
    args.removeFirst();
    StartupInfo startup{args.join(QLatin1Char(' ')), QDate::currentDate(), rawArguments_};

    CReportsDlg dialog(services, startup);
    dialog.SetClock([] { return QDate::currentDate(); });
    messages.setOwner(&dialog);
    if (dialog.startupGaveWay()) {
        return false; // another window has the file; this start touches nothing
    }
    const auto benchExit = exitWhenShownIfAsked(dialog);
    dialog.exec();
    return false;
}

} // namespace zadw
