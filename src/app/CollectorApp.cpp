#include "CollectorApp.h"

#include "FileDlg.h"
#include "MailSystem.h"
#include "PrinterChoice.h"
#include "QtMessageSink.h"
#include "ReportsDlg.h"
#include "SettingsProfile.h"
#include "Telephony.h"
#include "Translations.h"

#include <QDate>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QTimer>
#include <memory>

namespace zadw {
namespace {

// ZADW_BENCH_EXIT_WHEN_SHOWN (benchmarks): end after the first paint, past ExitProgram so nothing
// is saved; a value with "/" is a file for VmRSS in kB.
class ExitWhenShown : public QObject {
public:
    ExitWhenShown(QDialog& window, QString rssPath)
        : window_(window), rssPath_(std::move(rssPath)) {
        window.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, this, [this] { finish(); });
        }
        return false;
    }

private:
    void finish() {
        QFile status(QStringLiteral("/proc/self/status"));
        QFile out(rssPath_);
        if (rssPath_.contains(QLatin1Char('/')) && status.open(QIODevice::ReadOnly) &&
            out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmRSS:")) {
                    out.write(line.mid(6).trimmed().split(' ').value(0) + '\n');
                }
            }
        }
        window_.QDialog::done(QDialog::Rejected);
    }

    QDialog& window_;
    QString rssPath_;
    bool seen_ = false;
};

} // namespace

CCollectorApp::CCollectorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("zadw"));
    setApplicationVersion(QStringLiteral("3.0.0.2"));
    setWindowIcon(QIcon(QStringLiteral(":/zadw/icon.svg")));
    setDesktopFileName(QStringLiteral("zadw"));
}

bool CCollectorApp::InitInstance() {
    installSwedishTranslations(*this);
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
    std::unique_ptr<ExitWhenShown> benchExit;
    if (qEnvironmentVariableIsSet("ZADW_BENCH_EXIT_WHEN_SHOWN")) {
        benchExit = std::make_unique<ExitWhenShown>(
            dialog, qEnvironmentVariable("ZADW_BENCH_EXIT_WHEN_SHOWN"));
    }
    dialog.exec();
    return false;
}

} // namespace zadw
