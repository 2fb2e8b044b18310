// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's mail system: a sendmail-compatible program fed the whole message, or the
// desktop's own mail client through xdg-email. Which one is decided by chooseMailProgram.

#include "Clock.h"
#include "MailMessage.h"
#include "MailPrograms.h"
#include "MessageSink.h"
#include "SendUpdates.h"
#include "SettingsProfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zadw {

// Where the programs are looked for; tests point these into a scratch folder.
struct MailProgramPaths {
    QString sendmail = QStringLiteral("/usr/sbin/sendmail");
    QString libSendmail = QStringLiteral("/usr/lib/sendmail");
    QString xdgEmail = QStringLiteral("xdg-email");
    QString xdgMime = QStringLiteral("xdg-mime");
};

class MailSystem : public MailTransport {
public:
    // The profile's "[Mail] Method" chooses the way out; an unknown value is said once, through
    // messages, and auto is used. The clock dates each message a sendmail sends.
    explicit MailSystem(Clock clock, MailProgramPaths paths = {},
                        SettingsProfile* profile = nullptr, MessageSink* messages = nullptr);

    MailSystemState probe() override;
    MailSystemState probeAttachments() override;
    // A sendmail runs with the program's windows kept from input and the wait cursor shown, and
    // this returns when it has ended. The desktop's mail client gets the same only for the
    // hand-over: a client still running after it goes on by itself.
    DeliveryResult deliver(const MailMessage& message) override;

    // What the last probe chose.
    const MailProgramChoice& choice() const { return choice_; }

    // How long a mail client is waited for before it counts as handed over.
    void setHandOverTime(int milliseconds) { handOverMs_ = milliseconds; }

private:
    QString actualProgram(const std::string& name) const;
    MailMethod method();
    MailProgramChoice choose(bool attachments);

    Clock clock_;
    MailProgramPaths paths_;
    SettingsProfile* profile_;
    MessageSink* messages_;
    MailProgramChoice choice_;
    QString handlerName_; // the desktop mail client's name, when it was asked for
    bool methodComplained_ = false;
    int handOverMs_ = 4000;
};

// What the desktop's default mailto handler can carry: its desktop entry is looked up in the
// XDG data folders and classified. None outside a graphical session. *name gets the handler's
// name as its desktop entry gives it.
MailtoHandler desktopMailtoHandler(const QString& xdgMime, QString* name = nullptr);

// Shows a file in the desktop's file manager, the file selected (org.freedesktop.FileManager1),
// else opens its folder with xdg-open; copies text to the clipboard.
class DesktopFileHandOver : public FileHandOver {
public:
    explicit DesktopFileHandOver(QString xdgOpen = QStringLiteral("xdg-open"))
        : xdgOpen_(std::move(xdgOpen)) {}
    void showFile(const std::string& path) override;
    void copyText(const std::string& text) override;

private:
    QString xdgOpen_;
};

// Whether DISPLAY or WAYLAND_DISPLAY names a graphical session.
bool inGraphicalSession();

// The desktop file of the default handler for a URL scheme as xdg-mime names it ("" when there
// is none or no xdg-mime to ask). Also asked for tel: links.
QString defaultSchemeHandler(const QString& xdgMime, const QString& scheme);

// A bare name searched on PATH, a path made absolute; "" when there is no such program.
QString resolveProgram(const QString& program);

struct ProgramRun {
    bool started = false;
    bool succeeded = false;    // started, ended normally with exit status 0
    bool stillRunning = false; // handed over: it goes on without us
    int exitCode = 0;
    QByteArray errorOutput;
};

// Starts a program (a mail client) and waits at most waitMs for it, the windows kept away as
// above. When it ends in time its exit status counts; otherwise it is left running in a session
// of its own, reaped when it ends and never waited for, not even when the program closes.
ProgramRun handOverToProgram(const QString& program, const QStringList& arguments, int waitMs);

// Runs a program and waits for it, painting but taking no input meanwhile: the wait cursor is
// shown, every window of the program is disabled, and activation and focus are given back.
ProgramRun runKeepingWindowsAway(const QString& program, const QStringList& arguments,
                                 const QByteArray* standardInput);

} // namespace zadw
