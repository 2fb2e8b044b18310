#include "MailSystem.h"

#include "MimeWriter.h"

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QSysInfo>
#include <QWidget>

namespace zadw {
namespace {

constexpr int kQueryTimeoutMs = 5000;

// While it lives, the wait cursor shows and no window of the program takes input; afterwards
// the window that was in front is active again and has its focus back.
class WindowsAway {
public:
    WindowsAway() {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        owner_ = QApplication::activeModalWidget();
        if (owner_ == nullptr) {
            owner_ = QApplication::activeWindow();
        }
        focus_ = QApplication::focusWidget();
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows) {
            if (!w->isHidden() && w->isEnabled()) {
                w->setEnabled(false);
                disabled_.append(w);
            }
        }
    }
    ~WindowsAway() {
        for (const QPointer<QWidget>& w : disabled_) {
            if (w) {
                w->setEnabled(true);
            }
        }
        if (owner_) {
            owner_->activateWindow();
        }
        if (focus_) {
            focus_->setFocus(Qt::OtherFocusReason);
        } else if (owner_) {
            owner_->setFocus(Qt::OtherFocusReason);
        }
        QGuiApplication::restoreOverrideCursor();
    }
    WindowsAway(const WindowsAway&) = delete;
    WindowsAway& operator=(const WindowsAway&) = delete;

private:
    QPointer<QWidget> owner_;
    QPointer<QWidget> focus_;
    QList<QPointer<QWidget>> disabled_;
};

QStringList toArguments(const std::vector<std::string>& args) {
    QStringList out;
    for (const std::string& a : args) {
        out << QString::fromStdString(a);
    }
    return out;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    bytes = data.toStdString();
    return true;
}

MessageStamp stampNow() {
    const QDateTime now = QDateTime::currentDateTime();
    MessageStamp stamp;
    stamp.secondsSinceEpoch = now.toSecsSinceEpoch();
    stamp.utcOffsetMinutes = now.offsetFromUtc() / 60;
    const quint64 random = QRandomGenerator::global()->generate64();
    stamp.uniquePart = QStringLiteral("%1.%2")
                           .arg(now.toMSecsSinceEpoch())
                           .arg(random, 16, 16, QLatin1Char('0'))
                           .toStdString();
    stamp.host = QSysInfo::machineHostName().toStdString();
    return stamp;
}

ProgramState programState(const QString& program, std::string* resolved) {
    const QString path = resolveProgram(program);
    if (path.isEmpty()) {
        return ProgramState::Missing;
    }
    *resolved = path.toStdString();
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable() ? ProgramState::Executable
                                                : ProgramState::NotExecutable;
}

} // namespace

bool inGraphicalSession() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString resolveProgram(const QString& program) {
    if (program.isEmpty()) {
        return QString();
    }
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.exists() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

QString defaultSchemeHandler(const QString& xdgMime, const QString& scheme) {
    const QString program = resolveProgram(xdgMime);
    if (program.isEmpty() || !QFileInfo(program).isExecutable()) {
        return QString();
    }
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.start(program, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/") + scheme});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished();
        return QString();
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
        return QString();
    }
    const QString out = QString::fromLocal8Bit(query.readAllStandardOutput());
    return out.section(QLatin1Char('\n'), 0, 0).trimmed();
}

ProgramRun runKeepingWindowsAway(const QString& program, const QStringList& arguments,
                                 const QByteArray* standardInput) {
    ProgramRun run;
    const WindowsAway away;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    if (standardInput == nullptr) {
        process.setStandardInputFile(QProcess::nullDevice());
    }
    // A loop of our own keeps the windows painted while the program runs; they take no input
    // because they are disabled.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start();
    if (!process.waitForStarted()) {
        return run;
    }
    run.started = true;
    if (standardInput != nullptr) {
        process.write(*standardInput);
        process.closeWriteChannel();
    }
    if (process.state() != QProcess::NotRunning) {
        loop.exec();
    }
    run.errorOutput = process.readAllStandardError();
    run.succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return run;
}

MailSystem::MailSystem(MailProgramPaths paths) : paths_(std::move(paths)) {}

QString MailSystem::actualProgram(const std::string& name) const {
    // chooseMailProgram names the standard places; these may have been moved for tests.
    if (name == "xdg-email") {
        return paths_.xdgEmail;
    }
    if (name == "/usr/sbin/sendmail") {
        return paths_.sendmail;
    }
    if (name == "/usr/lib/sendmail") {
        return paths_.libSendmail;
    }
    return QString::fromStdString(name);
}

MailSystemState MailSystem::probe() {
    const std::string variable = qEnvironmentVariable("ZADW_SENDMAIL").toStdString();
    // Without a default mail client xdg-email opens a browser, and the attachment is lost.
    const bool desktopClient =
        inGraphicalSession() &&
        !defaultSchemeHandler(paths_.xdgMime, QStringLiteral("mailto")).isEmpty();
    choice_ = chooseMailProgram(variable, desktopClient,
                                [this](const std::string& program, std::string* resolved) {
                                    return programState(actualProgram(program), resolved);
                                });
    probed_ = true;
    return choice_.state;
}

DeliveryResult MailSystem::deliver(const MailMessage& original) {
    if (!probed_) {
        probe();
    }
    switch (choice_.state) {
    case MailSystemState::NotFound:
        return {SendOutcome::NotFound, std::string()};
    case MailSystemState::NotExecutable:
        return {SendOutcome::NotExecutable, std::string()};
    case MailSystemState::Ready:
        break;
    }
    // The mail client may run in another folder than ours.
    MailMessage message = original;
    for (MailAttachment& a : message.attachments) {
        a.path = QFileInfo(QString::fromStdString(a.path)).absoluteFilePath().toStdString();
    }

    const QString program = QString::fromStdString(choice_.program);
    ProgramRun run;
    if (choice_.desktopClient) {
        run = runKeepingWindowsAway(program, toArguments(xdgEmailArguments(message)), nullptr);
    } else {
        const MimeBuild mime = writeMimeMessage(message, stampNow(), readWholeFile);
        if (!mime.ok) {
            return {SendOutcome::Failed, mime.error};
        }
        const QByteArray input = QByteArray::fromStdString(mime.text);
        run = runKeepingWindowsAway(program, toArguments(sendmailArguments(message)), &input);
    }
    if (!run.started) {
        // Gone or changed since the probe.
        return {QFileInfo::exists(program) ? SendOutcome::NotExecutable : SendOutcome::NotFound,
                std::string()};
    }
    if (run.succeeded) {
        return {SendOutcome::Sent, std::string()};
    }
    return {SendOutcome::Failed, firstErrorLine(run.errorOutput.toStdString())};
}

} // namespace zadw
