#include "CollectorApp.h"

#include "FileDlg.h"
#include "QtMessageSink.h"
#include "ReportsDlg.h"
#include "SettingsProfile.h"

#include <QDate>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zadw {

CCollectorApp::CCollectorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("zadw"));
    setApplicationVersion(QStringLiteral("3.0.0.2"));
    setWindowIcon(QIcon(QStringLiteral(":/zadw/icon.svg")));
    setDesktopFileName(QStringLiteral("zadw"));
}

void CCollectorApp::LoadTranslations() {
    // The toolkit's own buttons speak Swedish like the rest ("Ja", "Nej", "Avbryt").
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : {QStringLiteral("qtbase_sv"), QStringLiteral("qt_sv")}) {
        auto* translator = new QTranslator(this);
        if (translator->load(name, folder)) {
            installTranslator(translator);
            break;
        }
        delete translator;
    }
}

bool CCollectorApp::InitInstance() {
    LoadTranslations();
    profilePath_ = profilePathFor(applicationFilePath());
    IniProfile profile(profilePath_);
    QtMessageSink messages;
    CFileDlgChooser files;
    Services services;
    services.messages = &messages;
    services.files = &files;
    services.profile = &profile;

    QStringList args = arguments();
    args.removeFirst();
    StartupInfo startup{args.join(QLatin1Char(' ')).remove(QLatin1Char('"')), QDate::currentDate()};

    CReportsDlg dialog(services, startup);
    messages.setOwner(&dialog);
    dialog.exec();
    return false;
}

} // namespace zadw
