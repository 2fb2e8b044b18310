// SPDX-License-Identifier: GPL-3.0-or-later
// Late reports through the month list (Alt-M), the warning panel, and a whole evening's work
// from the main window to the file.
#include "ReportEntryTestSupport.h"

using namespace zadw;
using namespace zadw::test;

namespace {

constexpr int kOctober = 9;

QString string(int id, const std::string& arg = "") {
    return qs(FormatText(LoadString(id), arg));
}

bool listOpen(const EntryDesk& d) {
    return d.visible(158) && d.visible(160) && !d.visible(1) && !d.visible(2) && !d.visible(3) &&
           !d.visible(129) && !d.visible(270) && !d.visible(150);
}

} // namespace

class ReportEntryMonthTest : public QObject {
    Q_OBJECT

    EntryDesk d;

private slots:
    void cleanup() { d.close(); }

    void lateReportsAndTheWarningPanel_data() {
        QTest::addColumn<int>("hours");
        QTest::addColumn<bool>("flagged");
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("reportCategory");
        QTest::addColumn<QString>("whileChoosing");
        QTest::addColumn<QString>("afterwards");
        QTest::addColumn<bool>("flagAfterOk");
        const QString already = QStringLiteral(
            "- VARNING -   Du har redan fört in rapporten för oktober för Anna Berg.");
        const QString counted = QLatin1Char('\n') + string(1032, "november");
        const QString notCounted = QLatin1Char('\n') + string(1031, "november");
        const QString special = QLatin1Char('\n') + string(1194);
        QTest::newRow("nothing entered yet") << 0 << false << 0 << 0 << "" << counted << true;
        QTest::newRow("entered before")
            << 5 << false << 0 << 0 << already << already + notCounted << false;
        QTest::newRow("entered late before")
            << 5 << true << 0 << 0 << already << already + counted << true;
        QTest::newRow("special pioneer") << 0 << false << 3 << 0 << special << special << false;
        QTest::newRow("special pioneer now") << 0 << false << 0 << 3 << special << special << false;
    }
    void lateReportsAndTheWarningPanel() {
        QFETCH(int, hours);
        QFETCH(bool, flagged);
        QFETCH(int, category);
        QFETCH(int, reportCategory);
        QFETCH(QString, whileChoosing);
        QFETCH(QString, afterwards);
        QFETCH(bool, flagAfterOk);
        GroupRecord anna = person("Anna", "Berg");
        anna.hours[kOctober] = static_cast<std::uint8_t>(hours);
        anna.lateFlag(kOctober) = flagged ? 1 : 0;
        anna.monthStatus[kOctober] = static_cast<std::uint8_t>(category);
        anna.monthStatus[kReportMonth] = static_cast<std::uint8_t>(reportCategory);
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);

        alt(Qt::Key_M);
        QVERIFY(listOpen(d));
        QCOMPARE(focusedId(), 158);
        press(Qt::Key_Up);
        QCOMPARE(d.text(146), QStringLiteral("oktober"));
        QCOMPARE(d.text(159), whileChoosing);
        enter(); // Enter closes the list
        QVERIFY(!d.visible(158) && d.visible(1) && d.visible(129) && d.visible(270));
        QCOMPARE(focusedId(), 139);
        QCOMPARE(d.text(159), afterwards);
        QCOMPARE(dlg.lateEntry, true);

        type("1");
        enter(5);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(int(d.main->store.getNewFormValue(1, kOctober, NewFormValue::Publications)), 1);
        QCOMPARE(d.main->store.hasLateFlag(1, kOctober), flagAfterOk);
        QCOMPARE(d.reload().hasLateFlag(1, kOctober), flagAfterOk);
    }

    void okWithoutChangeOnALateMonthSetsNoFlag() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        d.open(1);
        alt(Qt::Key_M);
        press(Qt::Key_Up);
        enter();
        enter(5);
        QVERIFY(!d.main->store.hasLateFlag(1, kOctober));
        QCOMPARE(d.main->lastEnteredName, std::string());
    }

    void onlyTheMonthShownAtOkIsStored() {
        GroupRecord anna = person("Anna", "Berg");
        packNewForm(anna, kOctober, {4, 0, 0, 0});
        anna.setNewFormMonthsValue(1u << kOctober);
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        QListWidget* list = control<QListWidget>(&dlg, 158);

        // Opening and closing the list without moving reloads the month as stored.
        type("7");
        alt(Qt::Key_M);
        enter();
        QCOMPARE(d.field(139), QStringLiteral("0"));
        QCOMPARE(d.text(159), QString());
        QCOMPARE(focusedEdit()->selectedText(), QStringLiteral("0"));

        // October, closed with the list's own OK (Alt-O).
        alt(Qt::Key_M);
        press(Qt::Key_Up);
        alt(Qt::Key_O);
        QVERIFY(!dlg.monthListShown);
        QCOMPARE(d.field(139), QStringLiteral("4"));
        type("9");

        // September, closed by a double-click: October's 9 is gone.
        alt(Qt::Key_M);
        const QPoint september = list->visualItemRect(list->item(8)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, september);  // a real double-click
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, september); // starts with a click
        QVERIFY(!dlg.monthListShown);
        QCOMPARE(d.text(146), QStringLiteral("september"));
        QCOMPARE(focusedId(), 139);
        type("2");
        enter(5);

        const GroupStore& store = d.main->store;
        QCOMPARE(int(store.getNewFormValue(1, 8, NewFormValue::Publications)), 2);
        QCOMPARE(int(store.getNewFormValue(1, kOctober, NewFormValue::Publications)), 4);
        QCOMPARE(int(store.getNewFormValue(1, kReportMonth, NewFormValue::Publications)), 0);
    }

    void formFollowsTheMonthIn2016() {
        d.save(3, {person("Anna", "Berg"), person("Bo", "Ahl")}); // April, collected in May 2016
        d.open(1, QDate(2016, 5, 10));
        const QStringList newLabels{"Publ.", "Filmer", "Timmar", "Åb", "Bib.st."};
        const QStringList oldLabels{"Böcker", "Brosch.", "Timmar", "Lösnr.", "Åb", "Bib.st."};
        QCOMPARE(d.labels(), newLabels);
        alt(Qt::Key_M);
        press(Qt::Key_Up); // March: before the report month
        QCOMPARE(d.labels(), newLabels);
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        press(Qt::Key_Down); // June: last year's
        QCOMPARE(d.labels(), oldLabels);
        QCOMPARE(d.fields().size(), 6);
        press(Qt::Key_Up);
        press(Qt::Key_Up); // back to April
        QCOMPARE(d.labels(), newLabels);
        enter();
        QCOMPARE(d.text(159), QString());
    }

    void browsingTheMonthsReservesNoRemarkSlot() {
        GroupRecord anna = person("Anna", "Berg");
        anna.remarkSlot[2] = 1;
        d.save(kReportMonth, {anna, person("Bo", "Ahl")}, {remark("Sjuk")});
        const std::string file = readFile(d.path());
        CReportEntryDlg& dlg = d.open(1);
        alt(Qt::Key_M);
        for (int i = 0; i < 11; ++i) {
            press(Qt::Key_Up);
        }
        for (int i = 0; i < 11; ++i) {
            press(Qt::Key_Down);
        }
        QCOMPARE(dlg.month, 11);
        press(Qt::Key_Escape);
        QCOMPARE(int(d.main->store.remarkCount), 1);
        d.close();
        QCOMPARE(readFile(d.path()), file);
    }

    // Open the group, pick a publisher by surname, type this month's report, then a late one
    // for September, and find both in the file after exit.
    void aCollectorsEvening() {
        d.save(kReportMonth, {person("Olle", "Öberg"), person("Anna", "Berg"), person("Åsa", "Ek"),
                              person("Bo", "Ahl")});
        CReportsDlg& main = d.openMain();
        QTest::keyClicks(main.publisherList, QStringLiteral("Ek"));
        whenModalOpens([](QWidget* modal) {
            QVERIFY(becomesActive(modal));
            for (const char* value : {"2", "1", "10.5", "3", "1"}) {
                type(value);
                enter();
            }
        });
        QTest::keyClick(main.publisherList, Qt::Key_Return);
        QCOMPARE(d.mainText(133), QStringLiteral("Åsa Ek"));
        QCOMPARE(d.mainText(1000), QStringLiteral("Utebliven rapport för november = 3"));

        whenModalOpens([](QWidget* modal) {
            QVERIFY(becomesActive(modal));
            alt(Qt::Key_M);
            press(Qt::Key_Up);
            press(Qt::Key_Up);
            enter();
            for (const char* value : {"1", "0", "8", "0", "1"}) {
                type(value);
                enter();
            }
        });
        QTest::keyClick(main.publisherList, Qt::Key_Return);
        QCOMPARE(main.publisherList->currentItem()->text(), QStringLiteral("Ek, Åsa"));
        QTest::keyClick(main.publisherList, Qt::Key_Escape);
        QVERIFY(!main.isVisible());

        GroupStore& file = d.reload();
        const NewFormValues november = unpackNewForm(file.record(3), kReportMonth);
        QCOMPARE(int(november[NewFormValue::Publications]), 2);
        QCOMPARE(int(november[NewFormValue::Videos]), 1);
        QCOMPARE(int(november[NewFormValue::ReturnVisits]), 3);
        QCOMPARE(int(november[NewFormValue::BibleStudies]), 1);
        QCOMPARE(int(file.record(3).hours[kReportMonth]), 10);
        QCOMPARE(int(file.record(3).quarterHours[kReportMonth]), 2);
        QCOMPARE(int(unpackNewForm(file.record(3), 8)[NewFormValue::Publications]), 1);
        QCOMPARE(int(file.record(3).hours[8]), 8);
        QVERIFY(file.hasLateFlag(3, 8));
        QVERIFY(!file.hasLateFlag(3, kReportMonth));
        QCOMPARE(file.record(2).hours[kReportMonth], std::uint8_t(0));
    }
};

int runReportEntryMonthTest(int argc, char** argv) {
    ReportEntryMonthTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReportEntryMonthTest.moc"
