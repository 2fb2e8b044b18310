// SPDX-License-Identifier: GPL-3.0-or-later
// "Saknade rapporter…": the missing publishers' lines, one reminder to all of them through a
// stand-in sendmail, ringing and copying the list.
#include "GuiTestSupport.h"
#include "MailReader.h"

#include "MailSystem.h"
#include "MissingReportsDlg.h"
#include "Telephony.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>

using namespace zadw;
using namespace zadw::test;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The shown lines, headings too, their cells joined by " | "; a remark after one more.
QStringList shownLines(const CMissingReportsDlg& dlg) {
    QStringList out;
    QTreeWidget* list = dlg.lineList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        out << item->text(0) + QStringLiteral(" | ") + item->text(1) + QStringLiteral(" | ") +
                   item->text(2) +
                   (item->text(3).isEmpty() ? QString() : QStringLiteral(" | ") + item->text(3));
    }
    return out;
}

const QString kMissingHeading = QStringLiteral("Utebliven rapport för november |  | ");
const QString kRemarkHeading = QStringLiteral("Endast anmärkning |  | ");

class TelCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void dial(const QUrl& url) { urls << url; }
};

// November; Berg has reported, Öberg and Ek have addresses, Lind has none, Holm has an address
// no reminder may use.
const std::vector<PublisherSpec> kMany = {
    {"Olle", "Öberg", "08-123 45 67", "", "+46 70-111 22", "olle@example.se", 0},
    {"Anna", "Berg", "070-111 22 33", "", "", "anna@example.se", 5},
    {"Åsa", "Ek", "", "", "", "asa@example.se", 0},
    {"Per", "Lind", "", "08-55 55", "", "", 0},
    {"Eva", "Holm", "", "", "", "eva-at-example", 0},
};

} // namespace

class MissingReportsDlgTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<Desk> desk;
    std::unique_ptr<MailSystem> mail;
    std::unique_ptr<Telephony> telephone;
    std::unique_ptr<CReportsDlg> main;
    QString sendmail;
    QByteArray savedSendmail;
    TelCatcher catcher;

    // remarks: publisher and text, linked to November.
    void open(const std::vector<PublisherSpec>& people,
              const std::vector<std::pair<int, std::string>>& remarks = {}) {
        const std::string path = dir->file("Grupp.z08");
        writeGroup(path, 10, 4, people);
        if (!remarks.empty()) {
            RecordingSink sink;
            GroupStore store(sink);
            QVERIFY(store.loadGroupFile(path));
            for (const auto& [p, text] : remarks) {
                std::string old;
                QVERIFY(store.setRemark(p, 10, store.getRemark(p, 10, old, false), text));
            }
            QVERIFY(store.saveGroupFile(path));
        }
        Services s = desk->services();
        s.mail = mail.get();
        s.telephone = telephone.get();
        main = std::make_unique<CReportsDlg>(s, StartupInfo{qs(path), QDate(2026, 12, 8)});
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }

    // Opens the dialog with its shortcut, runs check on it and closes it with Escape.
    void withDialog(const std::function<void(CMissingReportsDlg&)>& check) {
        bool ran = false;
        whenModalOpens([&](QWidget* modal) {
            auto* dlg = qobject_cast<CMissingReportsDlg*>(modal);
            ran = dlg != nullptr && QTest::qWaitForWindowActive(dlg);
            if (ran) {
                check(*dlg);
            }
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::keyClick(main.get(), Qt::Key_M, Qt::ControlModifier);
        QTRY_VERIFY(ran);
        QCOMPARE(main->focusWidget(), main->publisherListBox());
    }

    int runs() const { return int(readAll(sendmail + ".calls").count('\n')); }

private slots:
    void initTestCase() {
        savedSendmail = qgetenv("ZADW_SENDMAIL");
        QDesktopServices::setUrlHandler(QStringLiteral("tel"), &catcher, "dial");
    }
    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("tel"));
        qputenv("ZADW_SENDMAIL", savedSendmail);
    }
    void init() {
        dir = std::make_unique<ScratchDir>();
        desk = std::make_unique<Desk>();
        catcher.urls.clear();
        // Nothing under /usr is run: the stand-in is the only mail program there is.
        MailProgramPaths paths;
        paths.sendmail = qs(dir->file("usr/sbin/sendmail"));
        paths.libSendmail = qs(dir->file("usr/lib/sendmail"));
        mail = std::make_unique<MailSystem>(mailClock, paths);
        telephone = std::make_unique<Telephony>([] { return TelephoneService::Available; });
        sendmail = qs(dir->file("sendmail"));
        QVERIFY(QFile::copy(QStringLiteral(ZADW_FAKES_DIR "/record-program"), sendmail));
        QFile::setPermissions(sendmail, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
        qputenv("ZADW_SENDMAIL", sendmail.toLocal8Bit());
    }
    void cleanup() { main.reset(); }

    void listsTheMissingInFileOrder_data() {
        QTest::addColumn<int>("reported"); // how many of kMany have reported
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<bool>("canRemind");
        const QString none = QString::fromUtf8("–");
        QTest::newRow("many")
            << 1
            << QStringList{kMissingHeading,
                           QString::fromUtf8(
                               "Öberg, Olle | 08-123 45 67, +46 70-111 22 | olle@example.se"),
                           QString::fromUtf8("Ek, Åsa |  | asa@example.se"),
                           QStringLiteral("Lind, Per | 08-55 55 | ") + none,
                           QStringLiteral("Holm, Eva |  | ") + none}
            << QString::fromUtf8("Utebliven rapport för november = 4") << true;
        QTest::newRow("one") << 4
                             << QStringList{kMissingHeading,
                                            QStringLiteral("Lind, Per | 08-55 55 | ") + none}
                             << QString::fromUtf8("Utebliven rapport för november = 1") << false;
        QTest::newRow("none") << 5 << QStringList{} << QString::fromUtf8("Alla har rapporterat.")
                              << false;
    }
    void listsTheMissingInFileOrder() {
        QFETCH(int, reported);
        QFETCH(QStringList, lines);
        QFETCH(QString, heading);
        QFETCH(bool, canRemind);
        std::vector<PublisherSpec> people = kMany;
        // "one": everyone but Lind; "none": everyone.
        for (PublisherSpec& p : people) {
            if (reported >= 4 && p.last != "Lind") {
                p.hoursInReportMonth = 3;
            }
            if (reported == 5) {
                p.hoursInReportMonth = 3;
            }
        }
        open(people);
        withDialog([&](CMissingReportsDlg& dlg) {
            QCOMPARE(shownLines(dlg), lines);
            QCOMPARE(dlg.lineList()->accessibleName(), heading);
            QCOMPARE(control<QPushButton>(&dlg, MissingReportsCtl::RemindAll)->isEnabled(),
                     canRemind);
            QCOMPARE(control<QPushButton>(&dlg, MissingReportsCtl::RemindAll)->accessibleName(),
                     QString::fromUtf8("Påminn alla med e-post"));
            QCOMPARE(dlg.focusWidget(), dlg.lineList());
        });
    }

    void remindsEveryoneWithAnAddressInOneBlindMessage() {
        open(kMany);
        desk->messages.answers.push_back(MsgAnswer::Yes);
        withDialog([&](CMissingReportsDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, MissingReportsCtl::RemindAll),
                              Qt::LeftButton);
            // Asked with No as Enter's answer; afterwards the count of those reminded.
            QCOMPARE(
                desk->messages.shown,
                (std::vector<std::string>{"Skicka en påminnelse för november till 2 förkunnare?",
                                          "Påminnelsen har skickats till 2 förkunnare."}));
            QCOMPARE(desk->messages.defaults.front(), MsgAnswer::No);
            QCOMPARE(shownLines(dlg)[1],
                     QString::fromUtf8(
                         "Öberg, Olle | 08-123 45 67, +46 70-111 22 | olle@example.se (påmind)"));
            QCOMPARE(shownLines(dlg)[2], QString::fromUtf8("Ek, Åsa |  | asa@example.se (påmind)"));
            QVERIFY(!shownLines(dlg)[3].contains(QString::fromUtf8("påmind")));
        });
        QCOMPARE(runs(), 1);
        QStringList args;
        for (const QByteArray& a : readAll(sendmail + ".args").split('\0')) {
            if (!a.isEmpty()) {
                args << QString::fromUtf8(a);
            }
        }
        QCOMPARE(args, (QStringList{QStringLiteral("-oi"), QStringLiteral("--"),
                                    QStringLiteral("olle@example.se"),
                                    QStringLiteral("asa@example.se")}));
        const QByteArray raw = readAll(sendmail + ".stdin");
        const ReadMail mail = readMail(raw.toStdString());
        // No publisher's address in any header: "To" names only the undisclosed group.
        QVERIFY2(mail.headers.count("cc") == 0 && mail.headers.count("bcc") == 0 &&
                     raw.contains("\r\nTo: undisclosed-recipients:;\r\n"),
                 raw.constData());
        QVERIFY(!raw.contains("olle@") && !raw.contains("asa@"));
        QVERIFY(raw.contains("\r\nSubject: Report\r\n"));
        QCOMPARE(qs(mail.text), QString::fromUtf8("Skicka in din rapport för november. \nTack."));
    }

    void noSendsNothing() {
        open(kMany);
        desk->messages.answers.push_back(MsgAnswer::No);
        withDialog([&](CMissingReportsDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, MissingReportsCtl::RemindAll),
                              Qt::LeftButton);
            QCOMPARE(desk->messages.shown.size(), std::size_t(1));
            QVERIFY(!shownLines(dlg).join(QLatin1Char('\n')).contains(QString::fromUtf8("påmind")));
        });
        QCOMPARE(runs(), 0);
    }

    void anUnsafeAddressRefusesTheWholeMessage() {
        std::vector<PublisherSpec> people = kMany;
        people[2].email = "asa@example.se\r\nBcc: x@y.z";
        open(people);
        desk->messages.answers.push_back(MsgAnswer::Yes);
        withDialog([&](CMissingReportsDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, MissingReportsCtl::RemindAll),
                              Qt::LeftButton);
            QCOMPARE(desk->messages.shown.size(), std::size_t(2));
            QVERIFY(qs(desk->messages.shown[1]).contains(QStringLiteral("[CR][LF]")));
            QVERIFY(!shownLines(dlg).join(QLatin1Char('\n')).contains(QString::fromUtf8("påmind")));
        });
        QCOMPARE(runs(), 0);
    }

    void copiesTheListAndRingsTheSelectedLine() {
        open(kMany);
        withDialog([&](CMissingReportsDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, MissingReportsCtl::CopyList),
                              Qt::LeftButton);
            QCOMPARE(QApplication::clipboard()->text(),
                     QString::fromUtf8("Utebliven rapport för november\n"
                                       "Öberg, Olle\t08-123 45 67, +46 70-111 22\tolle@example.se\n"
                                       "Ek, Åsa\t\tasa@example.se\n"
                                       "Lind, Per\t08-55 55\t–\n"
                                       "Holm, Eva\t\t–\n"));
            // Ek has no number: nothing to ring. Lind's first number is rung.
            QTest::keyClick(dlg.lineList(), Qt::Key_Down);
            QVERIFY(!control<QPushButton>(&dlg, MissingReportsCtl::Dial)->isEnabled());
            QTest::keyClick(dlg.lineList(), Qt::Key_Down);
            QVERIFY(control<QPushButton>(&dlg, MissingReportsCtl::Dial)->isEnabled());
            QTest::mouseClick(control<QPushButton>(&dlg, MissingReportsCtl::Dial), Qt::LeftButton);
            QCOMPARE(catcher.urls.size(), 1);
            QVERIFY(catcher.urls[0].toString().contains(QStringLiteral("08-55")));
        });
    }

    void remarkOnlyMonthsAreASectionOfTheirOwnThatCanBeRung() {
        // Öberg and Ek hold only a remark; Lind and Holm are missing, Berg has reported.
        open(kMany, {{1, "ringer tillbaka"}, {3, "sjuk"}});
        desk->messages.answers.push_back(MsgAnswer::Yes);
        withDialog([&](CMissingReportsDlg& dlg) {
            const QString none = QString::fromUtf8("–");
            QCOMPARE(
                shownLines(dlg),
                (QStringList{kMissingHeading, QStringLiteral("Lind, Per | 08-55 55 | ") + none,
                             QStringLiteral("Holm, Eva |  | ") + none, kRemarkHeading,
                             QStringLiteral("Öberg, Olle | 08-123 45 67, +46 70-111 22 | ") + none +
                                 QStringLiteral(" | ringer tillbaka"),
                             QStringLiteral("Ek, Åsa |  | ") + none + QStringLiteral(" | sjuk")}));
            QCOMPARE(dlg.lineList()->accessibleName(),
                     QStringLiteral("Utebliven rapport för november = 2\n"
                                    "Endast anmärkning för november = 2"));
            auto* dial = control<QPushButton>(&dlg, MissingReportsCtl::Dial);
            // The first line is current; a heading is never rung, Öberg under his is.
            QCOMPARE(dlg.lineList()->currentIndex().row(), 1);
            dlg.lineList()->setCurrentItem(dlg.lineList()->topLevelItem(3));
            QVERIFY(!dial->isEnabled());
            QTest::keyClick(dlg.lineList(), Qt::Key_Down);
            QVERIFY(dial->isEnabled());
            QTest::mouseClick(dial, Qt::LeftButton);
            QCOMPARE(catcher.urls.size(), 1);
            QVERIFY(catcher.urls[0].toString().contains(QStringLiteral("08-123")));
            // Nobody missing has a usable address, and a remark is never reminded.
            QVERIFY(!control<QPushButton>(&dlg, MissingReportsCtl::RemindAll)->isEnabled());
        });
        QCOMPARE(runs(), 0);
        QVERIFY(desk->messages.shown.empty());
    }

    void remindAllPassesTheRemarksBy() {
        // Ek is missing; Öberg, with an address too, holds only a remark.
        std::vector<PublisherSpec> people = kMany;
        people[3].hoursInReportMonth = 3; // Lind
        people[4].hoursInReportMonth = 3; // Holm
        people[2].hoursInReportMonth = 0; // Ek, missing with an address
        open(people, {{1, "sjuk"}});
        desk->messages.answers.push_back(MsgAnswer::Yes);
        withDialog([&](CMissingReportsDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, MissingReportsCtl::RemindAll),
                              Qt::LeftButton);
            QCOMPARE(desk->messages.shown.front(),
                     std::string("Skicka en påminnelse för november till 1 förkunnare?"));
        });
        QCOMPARE(runs(), 1);
        const QByteArray args = readAll(sendmail + ".args");
        QVERIFY(args.contains("asa@example.se") && !args.contains("olle@"));
    }

    void theContextMenuNamesTheCommandAndItsKey() {
        open(kMany);
        QString text;
        QString key;
        QTimer::singleShot(50, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                const QAction* first = menu->actions().value(0);
                text = first->text();
                key = first->shortcut().toString();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10),
                                main->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(main.get(), &event);
        QTRY_COMPARE(text, QString::fromUtf8("Saknade rapporter…"));
        QCOMPARE(key, QStringLiteral("Ctrl+M"));
    }
};

QTEST_MAIN(MissingReportsDlgTest)
#include "MissingReportsDlgTest.moc"
