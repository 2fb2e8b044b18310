// SPDX-License-Identifier: GPL-3.0-or-later
// Mail and calls leaving the program: which mail program runs and what it is given, and the main
// window's update, reminder and dialling buttons. Stand-in programs come from fakes/.
#include "GuiTestSupport.h"
#include "MailReader.h"

#include "MailSender.h"
#include "MailSystem.h"
#include "Strings.h"
#include "Telephony.h"

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>
#include <csignal>
#include <sys/types.h>

using namespace zadw;
using namespace zadw::test;

namespace {

constexpr StringId kNoMessage{}; // no entry has number 0

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

// What a stand-in program was given, as fakes/record-program keeps it.
QStringList recordedArguments(const QString& program) {
    QStringList out;
    const QList<QByteArray> parts = readAll(program + ".args").split('\0');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        out << QString::fromUtf8(parts[i]);
    }
    return out;
}
QByteArray recordedInput(const QString& program) {
    return readAll(program + ".stdin");
}
int runs(const QString& program) {
    return int(readAll(program + ".calls").count('\n'));
}

// A message as a sendmail-compatible program read it, decoded.
ReadMail parseMail(const QByteArray& raw) {
    return readMail(raw.toStdString());
}

// Catches the tel: links the program opens.
class TelCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void dial(const QUrl& url) { urls << url; }
};

const char* const kWatched[] = {
    "PATH",          "DISPLAY",         "WAYLAND_DISPLAY",     "ZADW_SENDMAIL",  "XDG_DATA_HOME",
    "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION"};

const QByteArray kMailClientEntry = "[Desktop Entry]\nType=Application\nName=Post\n"
                                    "Exec=mail-client %u\nMimeType=x-scheme-handler/mailto;\n"
                                    "Categories=Network;Email;\n";
const QByteArray kBrowserEntry = "[Desktop Entry]\nType=Application\nName=Webb\n"
                                 "Exec=mail-client %u\nMimeType=text/html;x-scheme-handler/"
                                 "https;x-scheme-handler/mailto;\nCategories=Network;WebBrowser;\n";
const QByteArray kGoneEntry = "[Desktop Entry]\nType=Application\nName=Borta\n"
                              "Exec=uninstalled-mail %u\nCategories=Email;\n";

} // namespace

class ExchangeGuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<Desk> desk;
    std::unique_ptr<MailSystem> mail;
    std::unique_ptr<Telephony> telephone;
    std::unique_ptr<DesktopFileHandOver> handOver;
    QMap<QByteArray, QByteArray> savedEnv; // null: was not set
    QString savedCwd;
    QString sendmail;     // the stand-in named by ZADW_SENDMAIL in the window tests
    TelCatcher catcher;   // registered for tel: links by the dialling tests
    QStringList standIns; // pid files of stand-in clients still running

    QString scratch(const QString& name) const { return qs(dir->file(name.toStdString())); }

    QString install(const char* fake, const QString& as) {
        const QString target = scratch(as);
        QDir().mkpath(QFileInfo(target).path());
        QFile::remove(target);
        if (!QFile::copy(QStringLiteral(ZADW_FAKES_DIR "/") + QLatin1String(fake), target)) {
            qWarning("cannot copy %s", fake);
        }
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        return target;
    }

    void restoreEnv() {
        for (auto it = savedEnv.begin(); it != savedEnv.end(); ++it) {
            if (it.value().isNull()) {
                qunsetenv(it.key().constData());
            } else {
                qputenv(it.key().constData(), it.value());
            }
        }
    }

    // Registers a mailto handler as xdg-mime (fakes/xdg-mime in bin/) names it, with its desktop
    // entry in the scratch XDG_DATA_HOME.
    void registerHandler(const QByteArray& entry) {
        install("xdg-mime", QStringLiteral("bin/xdg-mime"));
        install("record-program", QStringLiteral("bin/mail-client"));
        writeText(scratch(QStringLiteral("bin/mailto.handler")), "mail-client.desktop\n");
        QDir().mkpath(scratch(QStringLiteral("xdg-data/applications")));
        writeText(scratch(QStringLiteral("xdg-data/applications/mail-client.desktop")), entry);
    }

    void prependPath(const QString& folder) {
        qputenv("PATH", (folder + QLatin1Char(':')).toLocal8Bit() + savedEnv.value("PATH"));
    }

    // A group of three in "Mina grupper", month november, with the secretary's address.
    QString makeGroup(const QString& name, const std::string& secretary) {
        QDir().mkpath(scratch(QStringLiteral("Mina grupper")));
        const std::string path = dir->file("Mina grupper/" + name.toStdString());
        writeGroup(path, 10, 4,
                   {{"Olle", "Öberg", "08-123 45 67", "+46 (0)70-11122", "", "olle@example.se", 0},
                    {"Anna", "Berg", "070-111 22 33", "", "", "", 5},
                    {"Åsa", "Ek", "", "", "", "asa@example.se", 0}});
        RecordingSink sink;
        GroupStore store(sink);
        store.loadGroupFile(path);
        setTextField(store.record(0), TextField::Email, secretary, nullptr);
        store.saveGroupFile(path);
        return qs(path);
    }

    std::unique_ptr<CReportsDlg> openWindow(const QString& groupPath) {
        Services s = desk->services();
        s.mail = mail.get();
        s.handOver = handOver.get();
        s.telephone = telephone.get();
        auto dlg = std::make_unique<CReportsDlg>(s, StartupInfo{groupPath, QDate(2026, 12, 8), {}});
        dlg->show();
        if (!QTest::qWaitForWindowActive(dlg.get())) {
            qWarning("main window did not become active");
        }
        return dlg;
    }

    static void click(CReportsDlg& dlg, ReportsCtl id) {
        QTest::mouseClick(control(&dlg, id), Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        for (const char* name : kWatched) {
            savedEnv[name] = qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray();
        }
        savedCwd = QDir::currentPath();
        // No file manager to ask over D-Bus: "Visa filen" falls back to xdg-open.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/zadw-test-bus");
    }

    void init() {
        restoreEnv();
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("ZADW_SENDMAIL");
        dir = std::make_unique<ScratchDir>();
        // Desktop entries and mimeapps.list come from the scratch folder only.
        qputenv("XDG_DATA_HOME", scratch(QStringLiteral("xdg-data")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", scratch(QStringLiteral("xdg-none")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", scratch(QStringLiteral("xdg-config")).toLocal8Bit());
        catcher.urls.clear();
        desk = std::make_unique<Desk>();
        // Nothing under /usr is ever run: the standard places point into the scratch folder.
        MailProgramPaths paths;
        paths.sendmail = scratch(QStringLiteral("usr/sbin/sendmail"));
        paths.libSendmail = scratch(QStringLiteral("usr/lib/sendmail"));
        mail = std::make_unique<MailSystem>(mailClock, paths, &desk->profile, &desk->messages);
        mail->setHandOverTime(300);
        telephone = std::make_unique<Telephony>([] { return TelephoneService::Available; });
        handOver = std::make_unique<DesktopFileHandOver>(
            install("record-program", QStringLiteral("opener/xdg-open")));
        sendmail = install("record-program", QStringLiteral("bin dir/sendmail"));
        // Quoted: the variable is a word list and the folder's name has a blank.
        qputenv("ZADW_SENDMAIL", ("'" + sendmail + "'").toLocal8Bit());
    }

    void cleanup() {
        // A stand-in client left running is ended here, by its own process id.
        for (const QString& pidFile : std::as_const(standIns)) {
            const pid_t pid = readAll(pidFile).trimmed().toInt();
            if (pid > 0) {
                ::kill(pid, SIGTERM);
            }
        }
        standIns.clear();
        QDesktopServices::unsetUrlHandler(QStringLiteral("tel"));
        QDir::setCurrent(savedCwd);
        restoreEnv();
    }

    void mailProgramChoice_data() {
        QTest::addColumn<QString>("variable"); // ZADW_SENDMAIL: "", "runnable", "plain", "missing"
        QTest::addColumn<QString>("session");  // the variable that makes it graphical, or ""
        QTest::addColumn<bool>("mailtoHandler");
        QTest::addColumn<bool>("sbin");
        QTest::addColumn<bool>("lib");
        QTest::addColumn<QString>("ran");
        QTest::addColumn<StringId>("message");

        QTest::newRow("ZADW_SENDMAIL first")
            << "runnable"
            << "DISPLAY" << true << true << true << "zadw-sendmail" << kNoMessage;
        QTest::newRow("mail client in X")
            << ""
            << "DISPLAY" << true << true << true << "bin/xdg-email" << kNoMessage;
        QTest::newRow("mail client in Wayland")
            << ""
            << "WAYLAND_DISPLAY" << true << true << true << "bin/xdg-email" << kNoMessage;
        QTest::newRow("no default mail client")
            << ""
            << "DISPLAY" << false << true << true << "usr/sbin/sendmail" << kNoMessage;
        QTest::newRow("no graphical session")
            << ""
            << "" << true << true << true << "usr/sbin/sendmail" << kNoMessage;
        QTest::newRow("then /usr/lib")
            << ""
            << "" << false << false << true << "usr/lib/sendmail" << kNoMessage;
        // Named by the collector, it is the only one: a typo is said, not covered up.
        QTest::newRow("unrunnable, another could run")
            << "plain"
            << "DISPLAY" << true << true << false << "" << StringId::InvalidMailSystem;
        QTest::newRow("unrunnable and nothing else")
            << "plain"
            << "" << false << false << false << "" << StringId::InvalidMailSystem;
        QTest::newRow("variable names nothing")
            << "missing"
            << "" << true << false << false << "" << StringId::NoMailSystem;
        QTest::newRow("variable names nothing, others there")
            << "missing"
            << "DISPLAY" << true << true << true << "" << StringId::NoMailSystem;
        QTest::newRow("nothing at all")
            << ""
            << "" << true << false << false << "" << StringId::NoMailSystem;
    }

    void mailProgramChoice() {
        QFETCH(QString, variable);
        QFETCH(QString, session);
        QFETCH(bool, mailtoHandler);
        QFETCH(bool, sbin);
        QFETCH(bool, lib);
        QFETCH(QString, ran);
        QFETCH(StringId, message);

        const QStringList programs{QStringLiteral("zadw-sendmail"), QStringLiteral("bin/xdg-email"),
                                   QStringLiteral("usr/sbin/sendmail"),
                                   QStringLiteral("usr/lib/sendmail")};
        install("record-program", programs[1]);
        install("xdg-mime", QStringLiteral("bin/xdg-mime"));
        prependPath(scratch(QStringLiteral("bin")));
        if (mailtoHandler) {
            registerHandler(kMailClientEntry);
        }
        if (sbin) {
            install("record-program", programs[2]);
        }
        if (lib) {
            install("record-program", programs[3]);
        }
        qunsetenv("ZADW_SENDMAIL");
        if (variable == QLatin1String("runnable")) {
            install("record-program", programs[0]);
        } else if (variable == QLatin1String("plain")) {
            writeText(scratch(programs[0]), "#!/bin/sh\nexit 0\n");
        }
        if (!variable.isEmpty()) {
            qputenv("ZADW_SENDMAIL", scratch(programs[0]).toLocal8Bit());
        }
        if (!session.isEmpty()) {
            qputenv(session.toLatin1().constData(), ":0");
        }

        RecordingSink sink;
        MailSender sender(*mail, sink);
        if (sender.takeError() == MailErrorNone) {
            sender.addRecipients("olle@example.se");
            sender.setSubject("Report");
            sender.noteText = "Hej";
            QVERIFY(sender.send());
        }
        sender.release();

        for (const QString& p : programs) {
            QCOMPARE(runs(scratch(p)), p == ran ? 1 : 0);
        }
        if (message == kNoMessage) {
            QCOMPARE(sink.shown.size(), std::size_t(0));
        } else {
            QCOMPARE(sink.shown.size(), std::size_t(1));
            QCOMPARE(qs(sink.shown[0]), qs(LoadString(message)));
        }
    }

    void failuresShowTheProgramsFirstErrorLine_data() {
        QTest::addColumn<QByteArray>("exitStatus");
        QTest::addColumn<QByteArray>("errorOutput");
        QTest::addColumn<QString>("shown"); // "" for nothing
        QTest::newRow("exit 1 with a reason")
            << QByteArray("1") << QByteArray("sendmail: no route\nsecond line\n")
            << QStringLiteral("Send Mail failed to send message.\nsendmail: no route");
        QTest::newRow("refused in silence")
            << QByteArray("75") << QByteArray() << "Send Mail failed to send message.";
        QTest::newRow("warnings but accepted")
            << QByteArray("0") << QByteArray("warning: queue is slow\n") << QString();
    }

    void failuresShowTheProgramsFirstErrorLine() {
        QFETCH(QByteArray, exitStatus);
        QFETCH(QByteArray, errorOutput);
        QFETCH(QString, shown);
        writeText(sendmail + ".exit", exitStatus);
        writeText(sendmail + ".stderr", errorOutput);

        RecordingSink sink;
        MailSender sender(*mail, sink);
        QCOMPARE(sender.takeError(), int(MailErrorNone));
        sender.addRecipients("sekr@exempel.se");
        sender.noteText = "Hej";
        QCOMPARE(sender.send(), shown.isEmpty());
        QCOMPARE(runs(sendmail), 1);
        QCOMPARE(sink.shown.size(), std::size_t(shown.isEmpty() ? 0 : 1));
        if (!shown.isEmpty()) {
            QCOMPARE(qs(sink.shown[0]), shown);
        }
    }

    void desktopClientGetsEverythingAsArguments() {
        qunsetenv("ZADW_SENDMAIL");
        qputenv("DISPLAY", ":0");
        const QString xdgEmail = install("record-program", QStringLiteral("bin/xdg-email"));
        registerHandler(kMailClientEntry);
        prependPath(scratch(QStringLiteral("bin")));
        QDir().mkpath(scratch(QStringLiteral("Mina grupper")));
        writeText(scratch(QStringLiteral("Mina grupper/grupp 4.z18")), "z18");
        QDir::setCurrent(qs(dir->path().string()));

        RecordingSink sink;
        MailSender sender(*mail, sink);
        QCOMPARE(sender.takeError(), int(MailErrorNone));
        sender.addRecipients("sekr@exempel.se; kassa@exempel.se");
        sender.setSubject("Sammanställningsfil - mars - Grupp 4");
        sender.noteText = "mars .z18-fil för Grupp 4";
        sender.addAttachment("Mina grupper/grupp 4.z18"); // relative to the current folder
        QVERIFY(sender.send());

        QCOMPARE(recordedArguments(xdgEmail),
                 QStringList({"--utf8", "--subject", "Sammanställningsfil - mars - Grupp 4",
                              "--body", "mars .z18-fil för Grupp 4 ", "--attach",
                              scratch(QStringLiteral("Mina grupper/grupp 4.z18")),
                              "sekr@exempel.se", "kassa@exempel.se"}));
        QVERIFY(recordedInput(xdgEmail).isEmpty());
        QCOMPARE(runs(sendmail), 0);
        QCOMPARE(sink.shown.size(), std::size_t(0));
    }

    void updatesGoToTheSecretaryAsTheZ18File() {
        const QString group = makeGroup(QStringLiteral("GRUPP4.Z08"), "sekr@exempel.se");
        const QByteArray groupBytes = readAll(group);
        auto dlg = openWindow(group);
        desk->messages.answers = {MsgAnswer::Yes};

        // While the mail program runs the window takes no input and the wait cursor shows.
        writeText(sendmail + ".delay", "0.4");
        bool sawDisabled = false;
        bool sawWaitCursor = false;
        QTimer watch;
        watch.setInterval(20);
        connect(&watch, &QTimer::timeout, [&] {
            sawDisabled = sawDisabled || !dlg->isEnabled();
            const QCursor* cursor = QGuiApplication::overrideCursor();
            sawWaitCursor = sawWaitCursor || (cursor && cursor->shape() == Qt::WaitCursor);
        });
        watch.start();
        click(*dlg, ReportsCtl::SendUpdates);
        watch.stop();
        QVERIFY(sawDisabled);
        QVERIFY(sawWaitCursor);
        QVERIFY(dlg->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(QApplication::focusWidget(), dlg->publisherListBox());

        const QString update = scratch(QStringLiteral("Mina grupper/GRUPP4.z18"));
        QVERIFY(QFile::exists(update));
        QCOMPARE(readAll(group), groupBytes);
        // The question, then where the update went.
        QCOMPARE(desk->messages.shown.size(), std::size_t(2));
        QVERIFY(qs(desk->messages.shown[1]).startsWith("Uppdateringen har lämnats till "));
        QVERIFY(qs(desk->messages.shown[1]).endsWith(" för sekr@exempel.se."));
        QCOMPARE(qs(desk->messages.shown[0]),
                 "Dina uppdateringar har sparats i en fil i\n" + update +
                     "\n\nKlicka Ja för att e-posta .z18-filen tillsekr@exempel.se,\n"
                     "      eller\nklicka Nej för att sända filen till sekreteraren senare.");
        QCOMPARE(desk->messages.icons[0], MsgIcon::Question);

        QCOMPARE(runs(sendmail), 1);
        QCOMPARE(recordedArguments(sendmail), QStringList({"-t", "-oi"}));
        const QByteArray raw = recordedInput(sendmail);
        for (const QByteArray& line : raw.left(raw.indexOf("\r\n\r\n")).split('\n')) {
            QVERIFY2(line.size() <= 79, line.constData()); // 78 and the CR
        }
        const ReadMail m = parseMail(raw);
        QCOMPARE(qs(m.header("to")), QStringLiteral("sekr@exempel.se"));
        QCOMPARE(qs(m.header("subject")),
                 QStringLiteral("Sammanställningsfil - november - Grupp 4"));
        QCOMPARE(qs(m.text), QStringLiteral("november .z18-fil för Grupp 4 "));
        QCOMPARE(m.attachments.size(), std::size_t(1));
        QCOMPARE(QByteArray::fromStdString(m.attachment("GRUPP4.z18")), readAll(update));
        const QDateTime date = QDateTime::fromString(qs(m.header("date")), Qt::RFC2822Date);
        QVERIFY2(date.isValid(), m.header("date").c_str());
        // Dated by the clock the mail system was given, in local time.
        QCOMPARE(date.toSecsSinceEpoch(), qint64(mailClock()));
        QCOMPARE(date.offsetFromUtc(), QDateTime::fromSecsSinceEpoch(mailClock()).offsetFromUtc());
        QVERIFY(QRegularExpression(QStringLiteral("^<[\\w.-]+@[\\w.-]+>$"))
                    .match(qs(m.header("message-id")))
                    .hasMatch());
    }

    void noSendsNothingAndEachYesSendsAgain() {
        const QString group = makeGroup(QStringLiteral("grupp4.z08"), "sekr@exempel.se");
        const QString update = scratch(QStringLiteral("Mina grupper/grupp4.z18"));
        writeText(update, "gammal fil");
        auto dlg = openWindow(group);

        desk->messages.answers = {MsgAnswer::No};
        click(*dlg, ReportsCtl::SendUpdates);
        QVERIFY(readAll(update).size() > 336);
        QCOMPARE(runs(sendmail), 0);
        QCOMPARE(desk->messages.shown.size(), std::size_t(1));

        for (const char* name : {"Olof", "Olaus"}) {
            setTextField(dlg->groupFile().store.record(1), TextField::FirstName, name, nullptr);
            desk->messages.answers = {MsgAnswer::Yes};
            click(*dlg, ReportsCtl::SendUpdates);
            RecordingSink sink;
            GroupStore written(sink);
            QVERIFY(written.loadGroupFile(update.toStdString()));
            QCOMPARE(qs(written.displayName(1, false)), QString::fromUtf8(name) + " Öberg");
            QCOMPARE(QByteArray::fromStdString(
                         parseMail(recordedInput(sendmail)).attachment("grupp4.z18")),
                     readAll(update));
        }
        QCOMPARE(runs(sendmail), 2);
    }

    void unsafeSecretaryAddressesReachNoProgram_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shownAs");
        QTest::newRow("a line break and a header") << "sekr@exempel.se\nBcc: x@y.se"
                                                   << "sekr@exempel.se[LF]Bcc: x@y.se";
        QTest::newRow("an option") << "-oQ/tmp/x@y.se"
                                   << "-oQ/tmp/x@y.se";
        QTest::newRow("not ASCII") << "åsa@exempel.se"
                                   << "åsa@exempel.se";
    }

    void unsafeSecretaryAddressesReachNoProgram() {
        QFETCH(QString, address);
        QFETCH(QString, shownAs);
        auto dlg = openWindow(makeGroup(QStringLiteral("grupp4.z08"), address.toStdString()));
        desk->messages.answers = {MsgAnswer::Yes};
        click(*dlg, ReportsCtl::SendUpdates);
        QCOMPARE(desk->messages.shown.size(), std::size_t(2));
        QVERIFY(qs(desk->messages.shown[0]).contains("till" + shownAs + ",\n      eller\n"));
        QCOMPARE(qs(desk->messages.shown[1]),
                 qs(FormatText(LoadString(StringId::BadMailAddress), shownAs.toStdString())));
        QCOMPARE(runs(sendmail), 0);
    }

    void reminderGoesToTheSelectedPublisher() {
        auto dlg = openWindow(makeGroup(QStringLiteral("grupp4.z08"), "sekr@exempel.se"));
        dlg->publisherListBox()->setCurrentRow(2);
        desk->messages.answers = {MsgAnswer::Yes};
        click(*dlg, ReportsCtl::SendReminder);
        QCOMPARE(desk->messages.shown.size(), std::size_t(1));
        QCOMPARE(
            qs(desk->messages.shown[0]),
            QStringLiteral("Skicka en påminnelse om rapporten för Åsa Ek till asa@example.se?"));
        QCOMPARE(desk->messages.defaults[0], MsgAnswer::No);
        const ReadMail m = parseMail(recordedInput(sendmail));
        QCOMPARE(qs(m.header("to")), QStringLiteral("asa@example.se"));
        QCOMPARE(qs(m.header("subject")), QStringLiteral("Report"));
        QCOMPARE(qs(m.text), QStringLiteral("Skicka in din rapport för november. \nTack."));
        QVERIFY(!m.multipart);
        QCOMPARE(QApplication::focusWidget(), dlg->publisherListBox());
    }

    void dialSendsTheShownNumberUnchanged() {
        QDesktopServices::setUrlHandler(QStringLiteral("tel"), &catcher, "dial");
        auto dlg = openWindow(makeGroup(QStringLiteral("grupp4.z08"), ""));
        dlg->publisherListBox()->setCurrentRow(0);
        click(*dlg, ReportsCtl::Dial);
        click(*dlg, ReportsCtl::NextNumber);
        click(*dlg, ReportsCtl::Dial);
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(catcher.urls[0].toEncoded(), QByteArray("tel:08-123%2045%2067"));
        QCOMPARE(catcher.urls[0].path(), QStringLiteral("08-123 45 67"));
        QCOMPARE(catcher.urls[1].toEncoded(), QByteArray("tel:+46%20(0)70-11122"));
        QCOMPARE(catcher.urls[1].path(), QStringLiteral("+46 (0)70-11122"));
        QCOMPARE(desk->messages.shown.size(), std::size_t(0));
        QCOMPARE(QApplication::focusWidget(), dlg->publisherListBox());
    }

    void dialWithoutATelephoneService_data() {
        QTest::addColumn<bool>("xdgMime");
        QTest::addColumn<bool>("telHandler");
        QTest::addColumn<bool>("xdgOpen");
        QTest::addColumn<QString>("shown"); // "" when the call went out
        QTest::newRow("nothing to ask")
            << false << false << true << "Telephone service not available";
        QTest::newRow("no tel handler")
            << true << false << true << "Telephone service not available";
        QTest::newRow("nothing to start it") << true << true << false << "bad procaddress";
        QTest::newRow("all there") << true << true << true << "";
    }

    void dialWithoutATelephoneService() {
        QFETCH(bool, xdgMime);
        QFETCH(bool, telHandler);
        QFETCH(bool, xdgOpen);
        QFETCH(QString, shown);
        if (xdgMime) {
            install("xdg-mime", QStringLiteral("xdg/xdg-mime"));
        }
        if (telHandler) {
            writeText(scratch(QStringLiteral("xdg/tel.handler")), "softphone.desktop\n");
        }
        if (xdgOpen) {
            install("record-program", QStringLiteral("xdg/xdg-open"));
        }
        telephone = std::make_unique<Telephony>(desktopTelephoneProbe(
            scratch(QStringLiteral("xdg/xdg-mime")), scratch(QStringLiteral("xdg/xdg-open"))));
        QDesktopServices::setUrlHandler(QStringLiteral("tel"), &catcher, "dial");

        auto dlg = openWindow(makeGroup(QStringLiteral("grupp4.z08"), ""));
        click(*dlg, ReportsCtl::Dial);
        QCOMPARE(catcher.urls.size(), shown.isEmpty() ? 1 : 0);
        QCOMPARE(desk->messages.shown.size(), std::size_t(shown.isEmpty() ? 0 : 1));
        if (!shown.isEmpty()) {
            QCOMPARE(qs(desk->messages.shown[0]), shown);
        }
        QCOMPARE(QApplication::focusWidget(), dlg->publisherListBox());
    }
    // The real xdg-mime reads the scratch mimeapps.list and the entry it names is read from the
    // scratch data folder. xdg-mime itself passes over entries whose command is gone, but not
    // on every desktop; fakes/xdg-mime stands for such a desktop.
    void mailtoHandlersAreClassified_data() {
        QTest::addColumn<bool>("realXdgMime");
        QTest::addColumn<QString>("handler"); // as the desktop names it; "" for none
        QTest::addColumn<QString>("file");    // where its entry stands under applications/
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<int>("kind");
        QTest::newRow("mail client")
            << true << "post.desktop"
            << "post.desktop" << kMailClientEntry << int(MailtoHandler::MailClient);
        QTest::newRow("web browser")
            << true << "webb.desktop"
            << "webb.desktop" << kBrowserEntry << int(MailtoHandler::WebBrowser);
        QTest::newRow("entry in a vendor folder")
            << true << "acme-post.desktop"
            << "acme/post.desktop" << kMailClientEntry << int(MailtoHandler::MailClient);
        QTest::newRow("none registered")
            << true << ""
            << "borta.desktop" << kGoneEntry << int(MailtoHandler::None);
        QTest::newRow("command gone")
            << false << "borta.desktop"
            << "borta.desktop" << kGoneEntry << int(MailtoHandler::MissingCommand);
        QTest::newRow("entry gone")
            << false << "saknas.desktop"
            << "annan.desktop" << kMailClientEntry << int(MailtoHandler::MissingCommand);
    }

    void mailtoHandlersAreClassified() {
        QFETCH(bool, realXdgMime);
        QFETCH(QString, handler);
        QFETCH(QString, file);
        QFETCH(QByteArray, entry);
        QFETCH(int, kind);
        QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        if (xdgMime.isEmpty()) {
            QFAIL("xdg-mime (xdg-utils) is needed");
        }
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DESKTOP_SESSION");
        qputenv("DISPLAY", ":0");
        install("record-program", QStringLiteral("bin/mail-client"));
        prependPath(scratch(QStringLiteral("bin")));
        QDir().mkpath(scratch(QStringLiteral("xdg-config")));
        if (!realXdgMime) {
            xdgMime = install("xdg-mime", QStringLiteral("bin/xdg-mime"));
            writeText(scratch(QStringLiteral("bin/mailto.handler")), handler.toUtf8() + "\n");
        } else if (!handler.isEmpty()) {
            writeText(scratch(QStringLiteral("xdg-config/mimeapps.list")),
                      "[Default Applications]\nx-scheme-handler/mailto=" + handler.toUtf8() + "\n");
        }
        const QString target = scratch(QStringLiteral("xdg-data/applications/") + file);
        QDir().mkpath(QFileInfo(target).path());
        writeText(target, entry);

        QCOMPARE(int(desktopMailtoHandler(xdgMime)), kind);
        qunsetenv("DISPLAY");
        QCOMPARE(int(desktopMailtoHandler(xdgMime)), int(MailtoHandler::None));
    }

    // Which way the update and a reminder take with each kind of handler. "AttachUpdateByHand"
    // and "NoMailSystem" name the message shown instead.
    void updatesGoOnlyWhereTheFileIsCarried_data() {
        QTest::addColumn<QByteArray>("entry"); // empty: no graphical session
        QTest::addColumn<bool>("sbin");
        QTest::addColumn<QString>("update");
        QTest::addColumn<QString>("reminder");
        QTest::newRow("mail client") << kMailClientEntry << true << "xdg-email"
                                     << "xdg-email";
        QTest::newRow("browser, sendmail there") << kBrowserEntry << true << "sendmail"
                                                 << "xdg-email";
        QTest::newRow("browser only") << kBrowserEntry << false << "AttachUpdateByHand"
                                      << "xdg-email";
        QTest::newRow("command gone, sendmail there") << kGoneEntry << true << "sendmail"
                                                      << "sendmail";
        QTest::newRow("command gone only") << kGoneEntry << false << "AttachUpdateByHand"
                                           << "NoMailSystem";
        QTest::newRow("no mail system at all") << QByteArray() << false << "AttachUpdateByHand"
                                               << "NoMailSystem";
    }

    void updatesGoOnlyWhereTheFileIsCarried() {
        QFETCH(QByteArray, entry);
        QFETCH(bool, sbin);
        QFETCH(QString, update);
        QFETCH(QString, reminder);
        qunsetenv("ZADW_SENDMAIL");
        const QString xdgEmail = install("record-program", QStringLiteral("bin/xdg-email"));
        const QString sbinSendmail = scratch(QStringLiteral("usr/sbin/sendmail"));
        if (sbin) {
            install("record-program", QStringLiteral("usr/sbin/sendmail"));
        }
        if (!entry.isEmpty()) {
            qputenv("DISPLAY", ":0");
            registerHandler(entry);
        }
        prependPath(scratch(QStringLiteral("bin")));
        const QString group = makeGroup(QStringLiteral("grupp4.z08"), "sekr@exempel.se");
        const QString updateFile = scratch(QStringLiteral("Mina grupper/grupp4.z18"));
        auto dlg = openWindow(group);

        desk->messages.answers = {MsgAnswer::Yes};
        click(*dlg, ReportsCtl::SendUpdates);
        QVERIFY(QFile::exists(updateFile));
        if (update == QLatin1String("AttachUpdateByHand")) {
            QCOMPARE(desk->messages.shown.size(), std::size_t(1));
            QCOMPARE(qs(desk->messages.shown[0]),
                     "Uppdateringsfilen har sparats som\n" + updateFile +
                         "\nBifoga den i ett e-brev till sekr@exempel.se.");
            QCOMPARE(desk->messages.actionLabels[0],
                     (std::vector<std::string>{"Visa filen", "Kopiera adressen",
                                               "Jag har skickat den"}));
        } else {
            QCOMPARE(desk->messages.icons[0], MsgIcon::Question);
        }
        QCOMPARE(runs(xdgEmail), update == QLatin1String("xdg-email") ? 1 : 0);
        QCOMPARE(runs(sbinSendmail), update == QLatin1String("sendmail") ? 1 : 0);
        if (update == QLatin1String("sendmail")) {
            QCOMPARE(QByteArray::fromStdString(
                         parseMail(recordedInput(sbinSendmail)).attachment("grupp4.z18")),
                     readAll(updateFile));
        }

        desk->messages = RecordingSink();
        QFile::remove(xdgEmail + ".calls");
        QFile::remove(sbinSendmail + ".calls");
        dlg->publisherListBox()->setCurrentRow(2);
        desk->messages.answers = {MsgAnswer::Yes};
        click(*dlg, ReportsCtl::SendReminder);
        QCOMPARE(runs(xdgEmail), reminder == QLatin1String("xdg-email") ? 1 : 0);
        QCOMPARE(runs(sbinSendmail), reminder == QLatin1String("sendmail") ? 1 : 0);
        QCOMPARE(desk->messages.shown.size(),
                 std::size_t(reminder == QLatin1String("NoMailSystem") ? 2 : 1));
        if (reminder == QLatin1String("NoMailSystem")) {
            QCOMPARE(qs(desk->messages.shown[1]), qs(LoadString(StringId::NoMailSystem)));
        }
    }

    void theTwoButtonsShowTheFileAndCopyTheAddress() {
        const QString xdgOpen = scratch(QStringLiteral("opener/xdg-open"));
        const QString group = makeGroup(QStringLiteral("grupp4.z08"), " sekr@exempel.se ");
        desk->profile.values[QStringLiteral("Mail/Method")] = QStringLiteral("file");
        auto dlg = openWindow(group);
        QGuiApplication::clipboard()->clear();
        desk->messages.actionPresses = {"Kopiera adressen", "Visa filen"};
        click(*dlg, ReportsCtl::SendUpdates);
        QCOMPARE(desk->messages.shown.size(), std::size_t(1));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("sekr@exempel.se"));
        // Without a file manager on D-Bus the folder opens.
        QTRY_COMPARE(runs(xdgOpen), 1);
        QCOMPARE(recordedArguments(xdgOpen), QStringList{scratch(QStringLiteral("Mina grupper"))});
    }

    // A mail client that was not open stays in the foreground of xdg-email; zadw must not.
    void handingOverNeverWaitsForTheClient() {
        qunsetenv("ZADW_SENDMAIL");
        qputenv("DISPLAY", ":0");
        const QString xdgEmail = install("stay-running", QStringLiteral("bin/xdg-email"));
        registerHandler(kMailClientEntry);
        prependPath(scratch(QStringLiteral("bin")));
        standIns << xdgEmail + ".pid";
        auto dlg = openWindow(makeGroup(QStringLiteral("grupp4.z08"), "sekr@exempel.se"));
        desk->messages.answers = {MsgAnswer::Yes};

        bool sawDisabled = false;
        QTimer watch;
        watch.setInterval(20);
        connect(&watch, &QTimer::timeout, [&] { sawDisabled = sawDisabled || !dlg->isEnabled(); });
        watch.start();
        click(*dlg, ReportsCtl::SendUpdates);
        watch.stop();

        QVERIFY(sawDisabled); // during the hand-over only
        QVERIFY(dlg->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(QApplication::focusWidget(), dlg->publisherListBox());
        // The question, then that the client has it and the update is not yet sent.
        QCOMPARE(desk->messages.shown.size(), std::size_t(2));
        QVERIFY(qs(desk->messages.shown[1]).startsWith("Uppdateringen har öppnats i "));
        QCOMPARE(desk->messages.actionLabels[1], std::vector<std::string>{"Jag har skickat den"});
        QCOMPARE(dlg->groupFile().sentAt(), std::time_t(0));
        QCOMPARE(runs(xdgEmail), 1);
        const pid_t pid = readAll(xdgEmail + ".pid").trimmed().toInt();
        QVERIFY(pid > 0);
        // Still running, and still so when the mail system and the window are gone.
        mail.reset();
        dlg.reset();
        QCOMPARE(::kill(pid, 0), 0);
        // When it ends it is reaped, not left a zombie.
        ::kill(pid, SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(QStringLiteral("/proc/%1").arg(pid)), 10000);
    }

    void aClientEndingInTimeIsJudgedByItsExitStatus_data() {
        QTest::addColumn<QByteArray>("exitStatus");
        QTest::addColumn<QString>("shown");
        QTest::newRow("took it") << QByteArray("0") << QString();
        QTest::newRow("refused")
            << QByteArray("3")
            << QStringLiteral("Send Mail failed to send message.\nxdg-email: no method available");
    }

    void aClientEndingInTimeIsJudgedByItsExitStatus() {
        QFETCH(QByteArray, exitStatus);
        QFETCH(QString, shown);
        qunsetenv("ZADW_SENDMAIL");
        qputenv("DISPLAY", ":0");
        const QString xdgEmail = install("record-program", QStringLiteral("bin/xdg-email"));
        writeText(xdgEmail + ".exit", exitStatus);
        writeText(xdgEmail + ".stderr", "xdg-email: no method available\n");
        registerHandler(kMailClientEntry);
        prependPath(scratch(QStringLiteral("bin")));
        RecordingSink sink;
        MailSender sender(*mail, sink);
        sender.addRecipients("olle@example.se");
        sender.noteText = "Hej";
        QCOMPARE(sender.send(), shown.isEmpty());
        QCOMPARE(runs(xdgEmail), 1);
        QCOMPARE(sink.shown.size(), std::size_t(shown.isEmpty() ? 0 : 1));
        if (!shown.isEmpty()) {
            QCOMPARE(qs(sink.shown[0]), shown);
        }
    }

    void theMethodKeyChoosesTheWay_data() {
        QTest::addColumn<QString>("method"); // "-" for a profile without the key
        QTest::addColumn<QString>("ran");    // or the message shown instead
        QTest::newRow("not set") << "-"
                                 << "xdg-email";
        QTest::newRow("auto") << "auto"
                              << "xdg-email";
        QTest::newRow("desktop") << "desktop"
                                 << "xdg-email";
        QTest::newRow("sendmail") << " SendMail "
                                  << "sendmail";
        QTest::newRow("file") << "file"
                              << "AttachUpdateByHand";
        QTest::newRow("unknown") << "mapi"
                                 << "UnknownMailMethod";
    }

    void theMethodKeyChoosesTheWay() {
        QFETCH(QString, method);
        QFETCH(QString, ran);
        qunsetenv("ZADW_SENDMAIL");
        qputenv("DISPLAY", ":0");
        const QString xdgEmail = install("record-program", QStringLiteral("bin/xdg-email"));
        const QString sbin = install("record-program", QStringLiteral("usr/sbin/sendmail"));
        registerHandler(kMailClientEntry);
        prependPath(scratch(QStringLiteral("bin")));
        if (method != QLatin1String("-")) {
            desk->profile.values[QStringLiteral("Mail/Method")] = method;
        }
        auto dlg = openWindow(makeGroup(QStringLiteral("grupp4.z08"), "sekr@exempel.se"));
        desk->messages.answers = {MsgAnswer::Yes};
        if (ran == QLatin1String("UnknownMailMethod")) {
            desk->messages.answers.push_front(MsgAnswer::Ok);
        }
        click(*dlg, ReportsCtl::SendUpdates);
        QCOMPARE(runs(xdgEmail),
                 ran == QLatin1String("xdg-email") || ran == QLatin1String("UnknownMailMethod"));
        QCOMPARE(runs(sbin), ran == QLatin1String("sendmail") ? 1 : 0);
        if (ran == QLatin1String("AttachUpdateByHand")) {
            QCOMPARE(desk->messages.shown.size(), std::size_t(1));
            QVERIFY(qs(desk->messages.shown[0]).startsWith("Uppdateringsfilen har sparats som\n"));
        }
        if (ran == QLatin1String("UnknownMailMethod")) {
            // Said once, then the default way is taken.
            QCOMPARE(qs(desk->messages.shown[0]),
                     qs(FormatText(LoadString(StringId::UnknownMailMethod), "/profile/zadw.ini")));
            desk->messages.answers = {MsgAnswer::Yes};
            click(*dlg, ReportsCtl::SendUpdates);
            QCOMPARE(runs(xdgEmail), 2);
            // UnknownMailMethod, and each send's question and word that the client has it.
            QCOMPARE(desk->messages.shown.size(), std::size_t(5));
        }
    }

    void theProfileOffersTheMethodKeyFromTheStart() {
        const QString path = scratch(QStringLiteral("prog/zadw.ini"));
        IniProfile profile(path);
        QVERIFY(profile.writeString(QStringLiteral("Last"), QStringLiteral("Post"), "Anna Berg"));
        QVERIFY(readAll(path).contains("[Mail]\nMethod=auto\n"));
        QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("Mail/Method"), "sendmail");
        QVERIFY(profile.writeString(QStringLiteral("Last"), QStringLiteral("LoadPath"), "/a.z08"));
        QCOMPARE(profile.readString(QStringLiteral("Mail"), QStringLiteral("Method"), QString()),
                 QStringLiteral("sendmail"));
        QCOMPARE(profile.readString(QStringLiteral("Last"), QStringLiteral("Post"), QString()),
                 QStringLiteral("Anna Berg"));
    }

    // ZADW_SENDMAIL is a program and its arguments, split as a shell would but run without one.
    void theSendmailVariableIsTheOnlySendmail_data() {
        QTest::addColumn<QString>("variable"); // "@/" stands for the stand-in's folder
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<StringId>("message");
        QTest::newRow("with arguments")
            << "'@/sendmail' -a 'mitt konto' -f\"k@x.se\" $HOME;x"
            << QStringList{"-a", "mitt konto", "-fk@x.se", "$HOME;x", "-t", "-oi"} << kNoMessage;
        QTest::newRow("a typo in the path")
            << "'@/sendmial' -a konto" << QStringList() << StringId::NoMailSystem;
        QTest::newRow("an unclosed quote")
            << "'@/sendmail -a konto" << QStringList() << StringId::InvalidMailSystem;
    }

    void theSendmailVariableIsTheOnlySendmail() {
        QFETCH(QString, variable);
        QFETCH(QStringList, arguments);
        QFETCH(StringId, message);
        const QString sbin = install("record-program", QStringLiteral("usr/sbin/sendmail"));
        qputenv("ZADW_SENDMAIL",
                QString(variable)
                    .replace(QStringLiteral("@/"), QFileInfo(sendmail).path() + "/")
                    .toLocal8Bit());
        RecordingSink sink;
        MailSender sender(*mail, sink);
        if (sender.takeError() == MailErrorNone) {
            sender.addRecipients("olle@example.se");
            sender.noteText = "Hej";
            QVERIFY(sender.send());
        }
        QCOMPARE(runs(sendmail), message == kNoMessage ? 1 : 0);
        QCOMPARE(runs(sbin), 0);
        if (message == kNoMessage) {
            QCOMPARE(recordedArguments(sendmail), arguments);
            QCOMPARE(sink.shown.size(), std::size_t(0));
        } else {
            QCOMPARE(sink.shown.size(), std::size_t(1));
            QCOMPARE(qs(sink.shown[0]), qs(LoadString(message)));
        }
    }
};

QTEST_MAIN(ExchangeGuiTest)
#include "ExchangeGuiTest.moc"
