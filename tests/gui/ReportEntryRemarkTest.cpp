// SPDX-License-Identifier: GPL-3.0-or-later
// Remarks and the credit hours of regular pioneers, through the remark editor (Alt-R).
#include "ReportEntryTestSupport.h"

using namespace zadw;
using namespace zadw::test;

namespace {

// The remark stored for month m of publisher p, or "-" when the month has none.
std::string storedRemark(GroupStore& store, int p, int m) {
    std::string text;
    return store.getRemark(p, m, text, true) != 0 ? text : "-";
}

} // namespace

class ReportEntryRemarkTest : public QObject {
    Q_OBJECT

    EntryDesk d;

private slots:
    void cleanup() { d.close(); }

    void creditHoursFollowTheRemark_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("credit");
        QTest::newRow("star allows 40 beyond the cap") << "30 *" << 30;
        QTest::newRow("plain number is capped at 70") << "30" << 20;
        QTest::newRow("bang lifts the cap") << "30!" << 30;
        QTest::newRow("one byte at most") << "300!" << 255;
        QTest::newRow("no number") << "sjuk" << 0;
    }
    void creditHoursFollowTheRemark() {
        QFETCH(QString, typed);
        QFETCH(int, credit);
        d.save(kReportMonth, {pioneer("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        QVERIFY(d.visible(ReportEntryCtl::CreditText));
        enter(2);
        type("50");
        enter();
        alt(Qt::Key_R);
        QCOMPARE(focused(), control(&dlg, ReportEntryCtl::RemarkEdit));
        QVERIFY(!d.visible(ReportEntryCtl::ChangeMonth));
        type(typed);
        enter();
        QVERIFY(!d.visible(ReportEntryCtl::RemarkEdit) && d.visible(ReportEntryCtl::ChangeMonth));
        QCOMPARE(focusedId(), ReportEntryCtl::ReturnVisits); // the field after the hours
        QCOMPARE(dlg.remarkState, 0);
        QCOMPARE(d.text(ReportEntryCtl::CreditText),
                 credit != 0 ? QStringLiteral("( + %1 Timmar )").arg(credit) : QString());
        enter(2);
        QVERIFY(!dlg.isVisible());
        GroupStore& store = d.main->groupFile().store;
        QCOMPARE(int(store.record(1).creditHours[kReportMonth]), credit);
        QCOMPARE(qs(storedRemark(store, 1, kReportMonth)), typed);
        QCOMPARE(qs(storedRemark(d.reload(), 1, kReportMonth)), typed);
    }

    void storedCreditFillsAnEmptyRemark() {
        GroupRecord anna = pioneer("Anna", "Berg");
        anna.hours[kReportMonth] = 20;
        anna.creditHours[kReportMonth] = 5;
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        QCOMPARE(d.text(ReportEntryCtl::CreditText), QStringLiteral("( + 5 Timmar )"));
        alt(Qt::Key_R);
        QCOMPARE(d.text(ReportEntryCtl::RemarkEdit), QStringLiteral("5 +Timmar"));
        enter();
        QVERIFY(!dlg.changed);
        press(Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(storedRemark(d.main->groupFile().store, 1, kReportMonth),
                 std::string("5 +Timmar"));
        QTRY_COMPARE(storedRemark(d.reload(), 1, kReportMonth), std::string("5 +Timmar"));
    }

    void blankRemarkDropsTheLink_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("credit");
        QTest::newRow("emptied") << "" << 0;
        QTest::newRow("blanks only") << "   " << 0;
        QTest::newRow("leading blank") << " 25" << 10; // no leading number: the stored credit stays
    }
    void blankRemarkDropsTheLink() {
        QFETCH(QString, typed);
        QFETCH(int, credit);
        GroupRecord anna = pioneer("Anna", "Berg");
        anna.hours[kReportMonth] = 30;
        anna.creditHours[kReportMonth] = 10;
        anna.remarkSlot[kReportMonth] = 1;
        d.save(kReportMonth, {anna, person("Bo", "Ahl")}, {remark("10")});
        CReportEntryDlg& dlg = d.open(1);
        QCOMPARE(d.text(ReportEntryCtl::CreditText), QStringLiteral("( + 10 Timmar )"));
        alt(Qt::Key_R);
        QCOMPARE(d.text(ReportEntryCtl::RemarkEdit), QStringLiteral("10"));
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Backspace);
        type(typed);
        enter();
        QCOMPARE(int(dlg.creditHourCount), credit);
        QCOMPARE(d.text(ReportEntryCtl::CreditText),
                 credit != 0 ? QStringLiteral("( + %1 Timmar )").arg(credit) : QString());
        // Cancel keeps what the editor wrote into the store, on disk too.
        press(Qt::Key_Escape);
        QCOMPARE(int(d.main->groupFile().store.record(1).remarkSlot[kReportMonth]), 0);
        QCOMPARE(int(d.main->groupFile().store.record(1).creditHours[kReportMonth]), 10);
        QTRY_COMPARE(int(d.reload().record(1).remarkSlot[kReportMonth]), 0);
    }

    void remarkStaysAfterCancel() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        type("4");
        alt(Qt::Key_R);
        type("Sjuk i två veckor");
        enter();
        QVERIFY(dlg.changed);
        press(Qt::Key_Escape);
        GroupStore& store = d.main->groupFile().store;
        QCOMPARE(storedRemark(store, 1, kReportMonth), std::string("Sjuk i två veckor"));
        // The values were not stored.
        QCOMPARE(int(store.getNewFormValue(1, kReportMonth, NewFormValue::Publications)), 0);
        QTRY_COMPARE(storedRemark(d.reload(), 1, kReportMonth), std::string("Sjuk i två veckor"));
    }

    void editorTakes36CharactersThatTheFileCanHold() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        alt(Qt::Key_R);
        type(QString(40, QLatin1Char('a')));
        QCOMPARE(d.text(ReportEntryCtl::RemarkEdit).size(), 36);
        press(Qt::Key_A, Qt::ControlModifier);
        type("Resa till ");
        QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QStringLiteral("Ωmega"),
                            Qt::NoModifier);
        enter();
        QTRY_COMPARE(d.desk->messages.shown.size(), std::size_t(1));
        QCOMPARE(
            qs(d.desk->messages.shown[0]),
            QStringLiteral("Anteckningen innehåller tecken som inte kan sparas i gruppfilen: Ω"));
        QVERIFY(d.visible(ReportEntryCtl::RemarkEdit) && !d.visible(ReportEntryCtl::ChangeMonth));
        QCOMPARE(focusedId(), ReportEntryCtl::RemarkEdit);
        QCOMPARE(d.text(ReportEntryCtl::RemarkEdit), QStringLiteral("Resa till Ωmega"));
        QCOMPARE(dlg.remarkState, 1);
        QCOMPARE(int(d.main->groupFile().store.record(1).remarkSlot[kReportMonth]), 0);
        QCOMPARE(int(d.main->groupFile().store.remarkCount), 0);
    }

    void clickingAFieldLeavesTheEditorForTheFirst() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        alt(Qt::Key_R);
        type("Flyttar");
        QTest::mouseClick(control(&dlg, ReportEntryCtl::ReturnVisits), Qt::LeftButton);
        QVERIFY(!d.visible(ReportEntryCtl::RemarkEdit));
        QCOMPARE(focusedId(), ReportEntryCtl::BooksOrPublications);
        QCOMPARE(dlg.remarkState, 0);
        QCOMPARE(storedRemark(d.main->groupFile().store, 1, kReportMonth), std::string("Flyttar"));
    }

    void everyWayOutOfTheEditorGoesOnAfterTheLastFigure_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Tab") << "Tab";
        QTest::newRow("Alt-O") << "Alt-O";
        QTest::newRow("click on OK") << "click";
    }
    void everyWayOutOfTheEditorGoesOnAfterTheLastFigure() {
        QFETCH(QString, way);
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        type("3");
        enter();
        type("5");
        alt(Qt::Key_R);
        type("Sjuk");
        if (way == QLatin1String("Enter")) {
            enter();
        } else if (way == QLatin1String("Tab")) {
            press(Qt::Key_Tab);
        } else if (way == QLatin1String("Alt-O")) {
            alt(Qt::Key_O);
        } else {
            QTest::mouseClick(control(&dlg, ReportEntryCtl::Ok), Qt::LeftButton);
        }
        // The editor is closed, the remark kept, the report not yet stored.
        QVERIFY(dlg.isVisible());
        QVERIFY(!d.visible(ReportEntryCtl::RemarkEdit));
        QCOMPARE(focusedId(), ReportEntryCtl::Hours);
        QCOMPARE(focusedEdit()->selectedText(), QStringLiteral("0"));
        QCOMPARE(dlg.remarkState, 0);
        QCOMPARE(storedRemark(d.main->groupFile().store, 1, kReportMonth), std::string("Sjuk"));
        QCOMPARE(int(d.main->groupFile().store.getNewFormValue(1, kReportMonth,
                                                               NewFormValue::Publications)),
                 0);
        // The next digit lands where the focus is, and only there.
        type("8");
        QCOMPARE(d.text(ReportEntryCtl::BooksOrPublications), QStringLiteral("3"));
        QCOMPARE(d.text(ReportEntryCtl::BrochuresOrVideos), QStringLiteral("5"));
        QCOMPARE(d.text(ReportEntryCtl::Hours), QStringLiteral("8"));
        // A later click on OK stores the report.
        QTest::mouseClick(control(&dlg, ReportEntryCtl::Ok), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(int(d.main->groupFile().store.getNewFormValue(1, kReportMonth,
                                                               NewFormValue::Publications)),
                 3);
        QCOMPARE(
            int(d.main->groupFile().store.getNewFormValue(1, kReportMonth, NewFormValue::Videos)),
            5);
        QCOMPARE(int(d.main->groupFile().store.record(1).hours[kReportMonth]), 8);
    }

    // With the last field filled, Enter after the remark lands on OK, and the next Enter stores.
    void afterAFilledLastFieldTheRemarkLeavesForOK() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        while (focusedId() != ReportEntryCtl::BibleStudies) {
            press(Qt::Key_Right);
        }
        type("2");
        alt(Qt::Key_R);
        type("Ny");
        enter();
        QCOMPARE(focused(), control(&dlg, ReportEntryCtl::Ok));
        QVERIFY(dlg.isVisible());
        enter();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(int(d.main->groupFile().store.getNewFormValue(1, kReportMonth,
                                                               NewFormValue::BibleStudies)),
                 2);
    }

    void remarkWithoutAFreeSlotIsReportedAndNotStored() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")},
               std::vector<RemarkSlot>(kMaxRemarkSlots, remark("full")));
        CReportEntryDlg& dlg = d.open(1);
        alt(Qt::Key_R);
        type("Ny");
        enter();
        QCOMPARE(d.desk->messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(d.desk->messages.shown[0]), qs(LoadString(StringId::NoRoomForRemarks)));
        QCOMPARE(int(d.main->groupFile().store.record(1).remarkSlot[kReportMonth]), 0);
        QCOMPARE(dlg.remarkText, std::string());
        QVERIFY(!dlg.changed);
    }
};

int runReportEntryRemarkTest(int argc, char** argv) {
    ReportEntryRemarkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReportEntryRemarkTest.moc"
