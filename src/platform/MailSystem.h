#pragma once
// The desktop's mail system: a sendmail-compatible program fed the whole message, or the
// desktop's own mail client through xdg-email. Which one is decided by chooseMailProgram.

#include "MailMessage.h"
#include "MailPrograms.h"

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
    explicit MailSystem(MailProgramPaths paths = {});

    MailSystemState probe() override;
    // Runs the chosen program with the program's windows kept from input and the wait cursor
    // shown; returns when the program has ended.
    DeliveryResult deliver(const MailMessage& message) override;

    // What the last probe chose.
    const MailProgramChoice& choice() const { return choice_; }

private:
    QString actualProgram(const std::string& name) const;

    MailProgramPaths paths_;
    MailProgramChoice choice_;
    bool probed_ = false;
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
    bool succeeded = false; // started, ended normally with exit status 0
    QByteArray errorOutput;
};

// Runs a program and waits for it, painting but taking no input meanwhile: the wait cursor is
// shown, every window of the program is disabled, and activation and focus are given back.
ProgramRun runKeepingWindowsAway(const QString& program, const QStringList& arguments,
                                 const QByteArray* standardInput);

} // namespace zadw
