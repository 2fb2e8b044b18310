#include "CollectorApp.h"

#include "ExitWhenShown.h"
#include "FileDlg.h"
#include "MailSystem.h"
#include "PrinterChoice.h"
#include "QtMessageSink.h"
#include "ReportsDlg.h"
#include "Resources.h"
#include "SettingsProfile.h"
#include "Strings.h"
#include "Telephony.h"
#include "Translations.h"

#include <QDate>
#include <QIcon>

#include <cstdlib>

namespace zadw {
CCollectorApp::CCollectorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("zadw"));
    setApplicationVersion(QStringLiteral("3.0.0.2"));
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
    MailSystem mail;
    Telephony telephone;
    services.mail = &mail;
    services.telephone = &telephone;
    QtPrinterChoice printers; // the printer chosen in print setup lasts for the run
    services.printer = &printers;

    QStringList args = arguments();
    args.removeFirst();
    StartupInfo startup{args.join(QLatin1Char(' ')).remove(QLatin1Char('"')), QDate::currentDate()};

    CReportsDlg dialog(services, startup);
    messages.setOwner(&dialog);
    const auto benchExit = exitWhenShownIfAsked(dialog);
    dialog.exec();
    return false;
}

} // namespace zadw
