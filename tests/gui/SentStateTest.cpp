// SPDX-License-Identifier: GPL-3.0-or-later
// The end of the month in the main window: what was sent, the question before a new list, and
// contact controls that never act for a publisher who is not selected.
#include "GuiTestSupport.h"

#include "Strings.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace zadw;
using namespace zadw::test;

namespace {

QString text(CReportsDlg& dlg, ReportsCtl id) {
    QWidget* w = control(&dlg, id);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    return qobject_cast<QPushButton*>(w)->text();
}

// As a screen reader gets it: never shortened.
QString wholeText(CReportsDlg& dlg, ReportsCtl id) {
    return control(&dlg, id)->accessibleName();
}

bool shown(CReportsDlg& dlg, ReportsCtl id) {
    return control(&dlg, id)->isVisible();
}

// Wallin alone is missing, with a number and an address.
std::vector<PublisherSpec> onlyWallinMissing() {
    return {
        {"Olle", "Öberg", "08-123 45 67", "", "", "olle@example.se", 4},
        {"Tove", "Wallin", "070-111 22 33", "", "", "tove.wallin@example.se", 0},
        {"Anna", "Berg", "08-765 43 21", "", "", "anna@example.se", 5},
    };
}

void storeHours(CReportsDlg& dlg, int pub, int hours) {
    dlg.groupFile().store.record(pub).hours[10] = static_cast<std::uint8_t>(hours);
    dlg.groupFile().saveChanges();
}

} // namespace

class SentStateTest : public QObject {
    Q_OBJECT

private:
    ScratchDir dir;
    std::string group = dir.file("Grupp.z08");
    QString groupPath() const { return QString::fromStdString(group); }

    // No contact control offers anything, and none of them acts.
    static void nothingOffered(CReportsDlg& dlg, Desk& desk) {
        QVERIFY(!shown(dlg, ReportsCtl::Dial));
        QVERIFY(!shown(dlg, ReportsCtl::PhoneNumber));
        QVERIFY(!shown(dlg, ReportsCtl::NextNumber));
        QVERIFY(!shown(dlg, ReportsCtl::SendReminder));
        QVERIFY(!shown(dlg, ReportsCtl::ReminderPreview));
        QCOMPARE(text(dlg, ReportsCtl::EnterReport), QStringLiteral("OK"));
        QVERIFY(!control(&dlg, ReportsCtl::EnterReport)->isEnabled());
        const std::size_t before = desk.messages.shown.size();
        QMetaObject::invokeMethod(control(&dlg, ReportsCtl::SendReminder), "click");
        QMetaObject::invokeMethod(control(&dlg, ReportsCtl::Dial), "click");
        QCOMPARE(desk.messages.shown.size(), before);
    }

private slots:
    void init() {
        writeGroup(group, 10, 4, onlyWallinMissing());
        QDir::setCurrent(QString::fromStdString(dir.path().string()));
    }

    void theLastMissingReportLeavesNothingToRemind() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        control<QCheckBox>(dlg.get(), ReportsCtl::UnreportedOnly)->click();
        QCOMPARE(dlg->publisherListBox()->count(), 1);
        QCOMPARE(text(*dlg, ReportsCtl::EnterReport), QStringLiteral("För in - Tove Wallin"));
        QVERIFY(shown(*dlg, ReportsCtl::SendReminder));
        // Her report is stored, as the entry dialog does, and the list refilled.
        storeHours(*dlg, 2, 6);
        dlg->UpdateStatus();
        dlg->RefreshList();
        QCOMPARE(dlg->publisherListBox()->count(), 0);
        nothingOffered(*dlg, desk);
    }

    void aListReadAgainWithNobodyInItLeavesNothingOffered() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        dlg->publisherListBox()->setCurrentRow(1);
        QVERIFY(shown(*dlg, ReportsCtl::Dial));
        // The same file, now an empty group, chosen again as the new list.
        writeGroup(group, 10, 4, {});
        desk.files.next = groupPath();
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        QCOMPARE(dlg->publisherListBox()->count(), 0);
        nothingOffered(*dlg, desk);
    }

    void theReminderAsksAndNamesWhoItIsFor() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        dlg->publisherListBox()->setCurrentRow(1);
        QTest::mouseClick(control(dlg.get(), ReportsCtl::SendReminder), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(desk.messages.shown.at(0)),
                 QStringLiteral("Skicka en påminnelse om rapporten för Tove Wallin till "
                                "tove.wallin@example.se?"));
        QCOMPARE(desk.messages.defaults.at(0), MsgAnswer::No);
        QCOMPARE(desk.messages.shown.size(), std::size_t(1)); // No: nothing sent, nothing said
    }

    void theWindowSaysWhenTheGroupWasSentAndWhatChangedSince() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QCOMPARE(text(*dlg, ReportsCtl::SentLine),
                 QStringLiteral("Inte sänd till sekreteraren än"));
        QVERIFY(!shown(*dlg, ReportsCtl::ChangedLine));
        storeHours(*dlg, 2, 6);
        dlg->UpdateStatus();
        QCOMPARE(text(*dlg, ReportsCtl::ChangedLine),
                 QStringLiteral("Ändrade sedan dess: 1 förkunnare"));
        QVERIFY(shown(*dlg, ReportsCtl::ChangedLine));
        // No address in the header: the file is saved, and the collector says it went.
        desk.messages.actionPresses = {"Jag har skickat den"};
        QTest::mouseClick(control(dlg.get(), ReportsCtl::SendUpdates), Qt::LeftButton);
        QVERIFY(
            wholeText(*dlg, ReportsCtl::SentLine).startsWith("Senast sänd till sekreteraren: "));
        QVERIFY(!shown(*dlg, ReportsCtl::ChangedLine));
        // Still so at the next start.
        dlg.reset();
        Desk next;
        next.stateFolder = desk.stateFolder;
        auto again = next.open(groupPath());
        QVERIFY(
            wholeText(*again, ReportsCtl::SentLine).startsWith("Senast sänd till sekreteraren: "));
    }

    void aNewListAsksFirstWhenReportsWereNotSent_data() {
        QTest::addColumn<int>("answer"); // MsgAnswer
        QTest::addColumn<bool>("chooserOpens");
        QTest::addColumn<bool>("unsentCopyKept");
        QTest::newRow("Avbryt does nothing") << int(MsgAnswer::Cancel) << false << false;
        QTest::newRow("Nej reads the list, the group kept") << int(MsgAnswer::No) << true << true;
        QTest::newRow("Ja sends first") << int(MsgAnswer::Yes) << true << false;
    }
    void aNewListAsksFirstWhenReportsWereNotSent() {
        QFETCH(int, answer);
        QFETCH(bool, chooserOpens);
        QFETCH(bool, unsentCopyKept);
        writeGroup(dir.file("dec.z08"), 11, 4, onlyWallinMissing());
        Desk desk;
        auto dlg = desk.open(groupPath());
        storeHours(*dlg, 2, 6);
        desk.messages.answers = {static_cast<MsgAnswer>(answer)};
        // Ja: the update is written; with no address the collector says it was sent.
        desk.messages.actionPresses = {"Jag har skickat den"};
        desk.files.next = QString::fromStdString(dir.file("dec.z08"));
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        const std::string asked = desk.messages.shown.at(0);
        QVERIFY(asked.rfind("Rapporter för 1 förkunnare har ändrats sedan gruppen senast sändes "
                            "till sekreteraren.\nJa: sänd uppdateringen först.\n",
                            0) == 0);
        QCOMPARE(desk.messages.defaults.at(0), MsgAnswer::Yes);
        QCOMPARE(desk.files.calls, chooserOpens ? 1 : 0);
        QCOMPARE(dlg->windowTitle().contains("december"), chooserOpens);
        // The copy named in the question holds the report.
        const std::size_t at = asked.find("finns kvar i ") + 13;
        const std::string copy = asked.substr(at, asked.find(").\n", at) - at);
        QVERIFY(copy.find("-unsent") != std::string::npos);
        QCOMPARE(std::filesystem::exists(copy), unsentCopyKept);
        if (unsentCopyKept) {
            RecordingSink quiet;
            GroupStore kept(quiet);
            kept.loadGroupFile(copy);
            QCOMPARE(int(kept.record(2).hours[10]), 6);
        }
    }

    void nothingUnsentNothingAsked() {
        writeGroup(dir.file("dec.z08"), 11, 4, onlyWallinMissing());
        Desk desk;
        auto dlg = desk.open(groupPath());
        desk.files.next = QString::fromStdString(dir.file("dec.z08"));
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        QVERIFY(desk.messages.shown.empty());
        QCOMPARE(desk.files.calls, 1);
    }

    void theLastEnteredNameBelongsToItsGroup() {
        writeGroup(dir.file("annan.z08"), 10, 5,
                   {{"Sören", "Ek", "", "", "", "", 0}, {"Lisa", "Ny", "", "", "", "", 0}});
        Desk desk;
        auto dlg = desk.open(groupPath());
        dlg->entryContext().lastEnteredName = "Tove Wallin";
        storeHours(*dlg, 2, 6);
        dlg->UpdateStatus();
        QCOMPARE(text(*dlg, ReportsCtl::LastEntered), QStringLiteral("Tove Wallin"));
        dlg->ExitProgram();
        dlg.reset();

        // Another group never shows it, even with the profile naming someone.
        Desk other;
        other.stateFolder = desk.stateFolder;
        other.profile.values[QStringLiteral("Last/Post")] = QStringLiteral("Tove Wallin");
        auto second = other.open(QString::fromStdString(dir.file("annan.z08")));
        QCOMPARE(text(*second, ReportsCtl::LastEntered), QString());
        second.reset();

        // Its own group shows it again at the next start.
        Desk back;
        back.stateFolder = desk.stateFolder;
        auto third = back.open(groupPath());
        QCOMPARE(text(*third, ReportsCtl::LastEntered), QStringLiteral("Tove Wallin"));
    }
};

QTEST_MAIN(SentStateTest)
#include "SentStateTest.moc"
