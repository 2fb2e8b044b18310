// SPDX-License-Identifier: GPL-3.0-or-later
// Late reports through the month list (Alt-M), the warning panel, and a whole evening's work
// from the main window to the file.
#include "ReportEntryTestSupport.h"

using namespace zadw;
using namespace zadw::test;

namespace {

constexpr int kOctober = 9;

QString string(StringId id, const std::string& arg = "") {
    return qs(FormatText(LoadString(id), arg));
}

bool listOpen(const EntryDesk& d) {
    return d.visible(ReportEntryCtl::MonthList) && d.visible(ReportEntryCtl::CloseMonthList) &&
           !d.visible(ReportEntryCtl::Ok) && !d.visible(ReportEntryCtl::Cancel) &&
           !d.visible(ReportEntryCtl::Remarks) && !d.visible(ReportEntryCtl::ChangeMonth) &&
           !d.visible(ReportEntryCtl::GroupNumber) && !d.visible(ReportEntryCtl::CreditText);
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
        const QString counted = QLatin1Char('\n') + string(StringId::ChangesIncluded, "november");
        const QString notCounted =
            QLatin1Char('\n') + string(StringId::ChangesNotIncluded, "november");
        const QString special = QLatin1Char('\n') + string(StringId::SpecialPioneersNotCounted);
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
        QCOMPARE(focusedId(), ReportEntryCtl::MonthList);
        press(Qt::Key_Up);
        QCOMPARE(d.text(ReportEntryCtl::MonthName), QStringLiteral("oktober"));
        QCOMPARE(d.text(ReportEntryCtl::Warning), whileChoosing);
        enter(); // Enter closes the list
        QVERIFY(!d.visible(ReportEntryCtl::MonthList) && d.visible(ReportEntryCtl::Ok) &&
                d.visible(ReportEntryCtl::ChangeMonth) && d.visible(ReportEntryCtl::GroupNumber));
        QCOMPARE(focusedId(), ReportEntryCtl::BooksOrPublications);
        QCOMPARE(d.text(ReportEntryCtl::Warning), afterwards);
        QCOMPARE(dlg.lateEntry, true);

        type("1");
        enter(5);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(
            int(d.main->groupFile().store.getNewFormValue(1, kOctober, NewFormValue::Publications)),
            1);
        QCOMPARE(d.main->groupFile().store.hasLateFlag(1, kOctober), flagAfterOk);
        QCOMPARE(d.reload().hasLateFlag(1, kOctober), flagAfterOk);
    }

    void okWithoutChangeOnALateMonthSetsNoFlag() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        d.open(1);
        alt(Qt::Key_M);
        press(Qt::Key_Up);
        enter();
        enter(5);
        QVERIFY(!d.main->groupFile().store.hasLateFlag(1, kOctober));
        QCOMPARE(d.main->entryContext().lastEnteredName, std::string());
    }

    void onlyTheMonthShownAtOkIsStored() {
        GroupRecord anna = person("Anna", "Berg");
        packNewForm(anna, kOctober, {4, 0, 0, 0});
        anna.setNewFormMonthsValue(1u << kOctober);
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        QListWidget* list = control<QListWidget>(&dlg, ReportEntryCtl::MonthList);

        // Opening and closing the list without moving reloads the month as stored.
        type("7");
        alt(Qt::Key_M);
        enter();
        QCOMPARE(d.field(ReportEntryCtl::BooksOrPublications), QStringLiteral("0"));
        QCOMPARE(d.text(ReportEntryCtl::Warning), QString());
        QCOMPARE(focusedEdit()->selectedText(), QStringLiteral("0"));

        // October, closed with the list's own OK (Alt-O).
        alt(Qt::Key_M);
        press(Qt::Key_Up);
        alt(Qt::Key_O);
        QVERIFY(!dlg.monthListShown);
        QCOMPARE(d.field(ReportEntryCtl::BooksOrPublications), QStringLiteral("4"));
        type("9");

        // September, closed by a double-click: October's 9 is gone.
        alt(Qt::Key_M);
        const QPoint september = list->visualItemRect(list->item(8)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, september);  // a real double-click
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, september); // starts with a click
        QVERIFY(!dlg.monthListShown);
        QCOMPARE(d.text(ReportEntryCtl::MonthName), QStringLiteral("september"));
        QCOMPARE(focusedId(), ReportEntryCtl::BooksOrPublications);
        type("2");
        enter(5);

        const GroupStore& store = d.main->groupFile().store;
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
        QCOMPARE(d.text(ReportEntryCtl::Warning), QString());
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
        press(Qt::Key_Escape); // the list
        press(Qt::Key_Escape); // the dialog
        QVERIFY(!dlg.isVisible());
        QCOMPARE(int(d.main->groupFile().store.remarkCount), 1);
        d.close();
        QCOMPARE(readFile(d.path()), file);
    }

    // Open the group, pick a publisher by surname, type this month's report, then a late one
    // for September, and find both in the file after exit.
    void aCollectorsEvening() {
        d.save(kReportMonth, {person("Olle", "Öberg"), person("Anna", "Berg"), person("Åsa", "Ek"),
                              person("Bo", "Ahl")});
        CReportsDlg& main = d.openMain();
        QTest::keyClicks(main.publisherListBox(), QStringLiteral("Ek"));
        whenModalOpens([](QWidget* modal) {
            QVERIFY(becomesActive(modal));
            for (const char* value : {"2", "1", "10.5", "3", "1"}) {
                type(value);
                enter();
            }
        });
        QTest::keyClick(main.publisherListBox(), Qt::Key_Return);
        QCOMPARE(d.mainText(ReportsCtl::LastEntered), QStringLiteral("Åsa Ek"));
        QCOMPARE(d.mainText(ReportsCtl::MissingCount),
                 QStringLiteral("Utebliven rapport för november = 3"));

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
        QTest::keyClick(main.publisherListBox(), Qt::Key_Return);
        QCOMPARE(main.publisherListBox()->currentItem()->text(), QStringLiteral("Ek, Åsa"));
        QTest::keyClick(main.publisherListBox(), Qt::Key_Escape);
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
