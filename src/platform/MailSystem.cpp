// SPDX-License-Identifier: GPL-3.0-or-later
#include "MailSystem.h"

#include "MimeWriter.h"
#include "Strings.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
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
#include <QTemporaryFile>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <unistd.h>

namespace zadw {
namespace {

constexpr int kQueryTimeoutMs = 5000;
constexpr int kFileManagerTimeoutMs = 3000;

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

MessageStamp stampAt(std::time_t time) {
    const QDateTime now = QDateTime::fromSecsSinceEpoch(time);
    MessageStamp stamp;
    stamp.secondsSinceEpoch = now.toSecsSinceEpoch();
    stamp.utcOffsetMinutes = now.offsetFromUtc() / 60;
    stamp.uniquePart =
        uniqueMessagePart(now.toMSecsSinceEpoch(), QRandomGenerator::global()->generate64());
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
    run.exitCode = process.exitCode();
    run.succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return run;
}

ProgramRun handOverToProgram(const QString& program, const QStringList& arguments, int waitMs) {
    ProgramRun run;
    const WindowsAway away;
    // No parent: a client still running when we close must not be killed with its QProcess.
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    // A file, not a pipe: a pipe would break under the client once we are gone.
    auto* errors = new QTemporaryFile(process);
    if (errors->open()) {
        process->setStandardErrorFile(errors->fileName());
    } else {
        process->setStandardErrorFile(QProcess::nullDevice());
    }
    // Its own session: a signal meant for us (Ctrl+C in a terminal) does not reach the client.
    process->setChildProcessModifier([] { ::setsid(); });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return run;
    }
    run.started = true;
    QEventLoop loop;
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (process->state() != QProcess::NotRunning) {
        loop.exec();
    }
    if (process->state() != QProcess::NotRunning) {
        // Handed over. Qt reaps it when it ends, and the object goes with it.
        QObject::disconnect(process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        run.stillRunning = true;
        run.succeeded = true;
        return run;
    }
    run.errorOutput = errors->readAll();
    run.exitCode = process->exitCode();
    run.succeeded = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return run;
}

MailtoHandler desktopMailtoHandler(const QString& xdgMime, QString* name) {
    if (!inGraphicalSession()) {
        return MailtoHandler::None;
    }
    const QString id = defaultSchemeHandler(xdgMime, QStringLiteral("mailto"));
    if (id.isEmpty()) {
        return MailtoHandler::None;
    }
    // A desktop file id "vendor-app.desktop" may stand as "vendor/app.desktop".
    QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    for (QString nested = id; file.isEmpty() && nested.contains(QLatin1Char('-'));) {
        nested.replace(nested.indexOf(QLatin1Char('-')), 1, QLatin1Char('/'));
        file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, nested);
    }
    std::string text;
    if (!file.isEmpty() && !readWholeFile(file.toStdString(), text)) {
        text.clear();
    }
    if (name != nullptr) {
        *name = QString::fromStdString(desktopEntryName(text));
        if (name->isEmpty()) {
            *name = QFileInfo(id).completeBaseName();
        }
    }
    return classifyMailtoHandler(text, [](const std::string& program) {
        const QString path = resolveProgram(QString::fromStdString(program));
        return !path.isEmpty() && QFileInfo(path).isExecutable();
    });
}

void DesktopFileHandOver::showFile(const std::string& path) {
    const QString file = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(file).toString()} << QString();
        const QDBusMessage reply = bus.call(call, QDBus::Block, kFileManagerTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            return;
        }
    }
    // Detached: the file manager is not ours to wait for.
    QProcess::startDetached(xdgOpen_, {QFileInfo(file).absolutePath()});
}

void DesktopFileHandOver::copyText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

MailSystem::MailSystem(Clock clock, MailProgramPaths paths, SettingsProfile* profile,
                       MessageSink* messages)
    : clock_(std::move(clock)), paths_(std::move(paths)), profile_(profile), messages_(messages) {}

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

MailMethod MailSystem::method() {
    if (profile_ == nullptr) {
        return MailMethod::Auto;
    }
    const QString text = profile_->readString(QStringLiteral("Mail"), QStringLiteral("Method"),
                                              QStringLiteral("auto"));
    if (const auto m = parseMailMethod(text.toStdString())) {
        return *m;
    }
    if (messages_ != nullptr && !methodComplained_) {
        methodComplained_ = true;
        messages_->show(FormatText(LoadString(StringId::UnknownMailMethod),
                                   profile_->location().toStdString()));
    }
    return MailMethod::Auto;
}

MailProgramChoice MailSystem::choose(bool attachments) {
    MailSituation situation;
    situation.method = method();
    situation.attachments = attachments;
    if (qEnvironmentVariableIsSet("ZADW_SENDMAIL") &&
        !qEnvironmentVariableIsEmpty("ZADW_SENDMAIL")) {
        situation.sendmailVariable = qEnvironmentVariable("ZADW_SENDMAIL").toStdString();
    }
    const bool desktopMayRun =
        situation.method == MailMethod::Desktop ||
        (!situation.sendmailVariable && situation.method != MailMethod::Sendmail &&
         !(attachments && situation.method == MailMethod::File));
    if (desktopMayRun) {
        situation.handler = desktopMailtoHandler(paths_.xdgMime, &handlerName_);
    }
    situation.deliversOnlyHere = [](const std::string& program) {
        const QString real = QFileInfo(QString::fromStdString(program)).canonicalFilePath();
        return deliversOnlyHere(real.isEmpty() ? program : real.toStdString(),
                                [](const std::string& path) -> std::optional<std::string> {
                                    std::string text;
                                    if (!readWholeFile(path, text)) {
                                        return std::nullopt;
                                    }
                                    return text;
                                });
    };
    return chooseMailProgram(situation, [this](const std::string& program, std::string* resolved) {
        return programState(actualProgram(program), resolved);
    });
}

MailSystemState MailSystem::probe() {
    choice_ = choose(false);
    return choice_.state;
}

MailSystemState MailSystem::probeAttachments() {
    choice_ = choose(true);
    return choice_.state;
}

DeliveryResult MailSystem::deliver(const MailMessage& original) {
    // Chosen again for this message: one with a file may not take the way a reminder would.
    choice_ = choose(!original.attachments.empty());
    switch (choice_.state) {
    case MailSystemState::FileOnly:
    case MailSystemState::NotFound:
        return DeliveryResult::of(SendOutcome::NotFound);
    case MailSystemState::NotExecutable:
        return DeliveryResult::of(SendOutcome::NotExecutable);
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
        run = handOverToProgram(program, toArguments(xdgEmailArguments(message)), handOverMs_);
    } else {
        const MimeBuild mime = writeMimeMessage(message, stampAt(clock_()), readWholeFile);
        if (!mime.ok) {
            return DeliveryResult::of(SendOutcome::Failed, mime.error);
        }
        const QByteArray input = QByteArray::fromStdString(mime.text);
        run = runKeepingWindowsAway(
            program, toArguments(choice_.arguments) + toArguments(sendmailArguments(message)),
            &input);
    }
    if (!run.started) {
        // Gone or changed since the probe.
        return DeliveryResult::of(QFileInfo::exists(program) ? SendOutcome::NotExecutable
                                                             : SendOutcome::NotFound);
    }
    DeliveryResult result;
    result.desktopClient = choice_.desktopClient;
    // A sendmail is known by what it really is (Debian's /usr/sbin/sendmail may be msmtp).
    const QFileInfo real(QFileInfo(program).canonicalFilePath());
    result.program = (choice_.desktopClient && !handlerName_.isEmpty() ? handlerName_
                      : real.fileName().isEmpty() ? QFileInfo(program).fileName()
                                                  : real.fileName())
                         .toStdString();
    if (run.succeeded) {
        result.outcome = SendOutcome::Sent;
        return result;
    }
    result.outcome = SendOutcome::Failed;
    result.errorLine = firstErrorLine(run.errorOutput.toStdString());
    result.exitStatus = run.exitCode;
    return result;
}

} // namespace zadw
