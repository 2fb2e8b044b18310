// SPDX-License-Identifier: GPL-3.0-or-later
// The update mailed end to end through a real SMTP client: msmtp, named by ZADW_SENDMAIL with its
// arguments, submits to a local SMTP server (aiosmtpd, on a free port of 127.0.0.1 only), and
// Python's email package reads back what was delivered.
#include "GuiTestSupport.h"

#include "MailSystem.h"
#include "SendUpdates.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>
#include <sys/prctl.h>

using namespace zadw;
using namespace zadw::test;

namespace {

const char* const kPython = "/usr/bin/python3";
const char* const kMsmtp = "/usr/bin/msmtp";

// Prints the delivered message as JSON, decoded the way a mail reader decodes it.
const char* const kReadBack = R"(
import base64, email, email.policy, json, sys
raw = open(sys.argv[1], 'rb').read()
m = email.message_from_bytes(raw, policy=email.policy.default)
head = raw.split(b'\n\n', 1)[0].decode('ascii')
out = {'to': str(m['To']), 'subject': str(m['Subject']), 'rcpt': str(m['X-RcptTo']),
       'bcc': m['Bcc'] is not None, 'defects': len(m.defects),
       'longest': max(len(l.rstrip('\r')) for l in head.split('\n') if not l.startswith('X-')),
       'body': m.get_body(('plain',)).get_content(), 'files': {}}
for part in m.iter_attachments():
    out['files'][part.get_filename()] = base64.b64encode(part.get_content()).decode()
print(json.dumps(out))
)";

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class MsmtpDeliveryTest : public QObject {
    Q_OBJECT

private:
    ScratchDir dir;
    QProcess server;
    quint16 port = 0;

    QString scratch(const QString& name) const {
        return QString::fromStdString(dir.file(name.toStdString()));
    }

    void stopServer() {
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            if (!server.waitForFinished(3000)) {
                server.kill();
                server.waitForFinished(3000);
            }
        }
    }

private slots:
    void initTestCase() {
        if (!QFileInfo(QString::fromLatin1(kMsmtp)).isExecutable()) {
            QFAIL("msmtp is needed (scripts/install-deps)");
        }
        // A free port: the system gives one, and it is handed on at once.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
        probe.close();

        server.setProgram(QString::fromLatin1(kPython));
        server.setArguments({"-m", "aiosmtpd", "-n", "-l", QStringLiteral("127.0.0.1:%1").arg(port),
                             "-c", "aiosmtpd.handlers.Mailbox",
                             scratch(QStringLiteral("maildir"))});
        server.setProcessChannelMode(QProcess::MergedChannels);
        // Ends with the test even when the test is killed (a ctest timeout).
        server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        server.start();
        QVERIFY2(server.waitForStarted(), "python3 cannot be started");
        bool listening = false;
        for (int i = 0; i < 100 && !listening && server.state() == QProcess::Running; ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            listening = socket.waitForConnected(100);
            if (!listening) {
                QTest::qWait(100);
            }
        }
        QVERIFY2(listening, server.readAll().constData()); // python3-aiosmtpd is needed
    }

    void cleanupTestCase() { stopServer(); }

    void theUpdateArrivesWholeThroughMsmtp() {
        // The few lines the README gives, with TLS and the password left out for the test.
        QDir().mkpath(scratch(QStringLiteral("mail conf")));
        const QString rc = scratch(QStringLiteral("mail conf/msmtprc"));
        QFile conf(rc);
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(QStringLiteral("defaults\nauth off\ntls off\n\naccount kassa\nhost 127.0.0.1\n"
                                  "port %1\nfrom kassa@exempel.se\n\naccount default : kassa\n")
                       .arg(port)
                       .toUtf8());
        conf.close();
        conf.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        qputenv("ZADW_SENDMAIL", QStringLiteral("%1 -C '%2'").arg(kMsmtp, rc).toLocal8Bit());
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");

        // A long file name with letters beyond ASCII goes out in RFC 2231 pieces.
        QDir().mkpath(scratch(QStringLiteral("Mina grupper")));
        const std::string group =
            dir.file("Mina grupper/Grupp 4 – sammanställning för november, Åsa Öberg.z08");
        writeGroup(group, 10, 4,
                   {{"Olle", "Öberg", "08-123 45 67", "", "", "olle@example.se", 0},
                    {"Anna", "Berg", "070-111 22 33", "", "", "", 5}});
        RecordingSink sink;
        GroupStore store(sink);
        QVERIFY(store.loadGroupFile(group));
        setTextField(store.record(0), TextField::Email, "sekr@exempel.se", nullptr);

        MailProgramPaths nowhere; // no sendmail of the machine may take part
        nowhere.sendmail = scratch(QStringLiteral("none/sendmail"));
        nowhere.libSendmail = scratch(QStringLiteral("none/lib-sendmail"));
        MailSystem mail(mailClock, nowhere);
        sink.answers = {MsgAnswer::Yes};
        SendUpdates(store, sink, mail);
        // The question, then where it went: msmtp, known by its own name.
        QCOMPARE(sink.shown.size(), std::size_t(2));
        QCOMPARE(sink.shown[1], std::string("Uppdateringen har lämnats till msmtp för "
                                            "sekr@exempel.se."));
        qunsetenv("ZADW_SENDMAIL");

        QStringList delivered;
        QDirIterator it(scratch(QStringLiteral("maildir/new")), QDir::Files);
        while (it.hasNext()) {
            delivered << it.next();
        }
        QCOMPARE(delivered.size(), 1);

        QProcess reader;
        reader.start(QString::fromLatin1(kPython), {"-c", kReadBack, delivered[0]});
        QVERIFY(reader.waitForFinished(20000));
        QCOMPARE(reader.exitCode(), 0);
        const QJsonObject m = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        QCOMPARE(m.value("to").toString(), QStringLiteral("sekr@exempel.se"));
        QCOMPARE(m.value("rcpt").toString(), QStringLiteral("sekr@exempel.se"));
        QCOMPARE(m.value("subject").toString(),
                 QStringLiteral("Sammanställningsfil - november - Grupp 4"));
        QCOMPARE(m.value("body").toString(), QStringLiteral("november .z18-fil för Grupp 4 "));
        QCOMPARE(m.value("defects").toInt(), 0);
        QVERIFY(!m.value("bcc").toBool());
        QVERIFY2(m.value("longest").toInt() <= 78,
                 qPrintable(QString::number(m.value("longest").toInt())));

        const QString updateName =
            QStringLiteral("Grupp 4 – sammanställning för november, Åsa Öberg.z18");
        const QJsonObject files = m.value("files").toObject();
        QCOMPARE(files.keys(), QStringList{updateName});
        const QByteArray sent =
            QByteArray::fromBase64(files.value(updateName).toString().toLatin1());
        QCOMPARE(sent, readAll(scratch(QStringLiteral("Mina grupper/") + updateName)));
        QVERIFY(sent.size() > 336);
    }
};

QTEST_MAIN(MsmtpDeliveryTest)
#include "MsmtpDeliveryTest.moc"
