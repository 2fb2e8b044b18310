// SPDX-License-Identifier: GPL-3.0-or-later
// The report entry, typed as a collector types it: keys go to whatever has the focus.
#include "ReportEntryTestSupport.h"

#include <QClipboard>
#include <QInputMethodEvent>

using namespace zadw;
using namespace zadw::test;

class ReportEntryDlgTest : public QObject {
    Q_OBJECT

    EntryDesk d;

private slots:
    void cleanup() { d.close(); }

    void opensOnTheReportMonthWithEverythingEmpty() {
        d.save(kReportMonth, {pioneer("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(2);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Bo Ahl"));
        QCOMPARE(d.text(ReportEntryCtl::PublisherName), QStringLiteral("Bo Ahl"));
        QCOMPARE(d.text(ReportEntryCtl::MonthName), QStringLiteral("november"));
        QCOMPARE(d.text(ReportEntryCtl::GroupNumber), QStringLiteral("Grupp 3"));
        QCOMPARE(d.fields(), QStringList({"0", "0", "0", "0", "0"})); // new form: no magazines
        QCOMPARE(d.text(ReportEntryCtl::Warning), QString());
        QVERIFY(!d.visible(ReportEntryCtl::CreditText) && !d.visible(ReportEntryCtl::MonthList) &&
                !d.visible(ReportEntryCtl::CloseMonthList) &&
                !d.visible(ReportEntryCtl::RemarkEdit));
        QCOMPARE(focusedId(), ReportEntryCtl::BooksOrPublications);
        type("3"); // the 0 was selected
        QCOMPARE(d.field(ReportEntryCtl::BooksOrPublications), QStringLiteral("3"));
    }

    void enterWalksTheFieldsAndStoresInTheLast_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QList<ReportEntryCtl>>("order");
        using enum ReportEntryCtl;
        QTest::newRow("old form") << kOldFormDay
                                  << QList{BooksOrPublications, BrochuresOrVideos, Hours,
                                           Magazines,           ReturnVisits,      BibleStudies};
        QTest::newRow("new form") << kNewFormDay
                                  << QList{BooksOrPublications, BrochuresOrVideos, Hours,
                                           ReturnVisits, BibleStudies};
    }
    void enterWalksTheFieldsAndStoresInTheLast() {
        QFETCH(QDate, today);
        QFETCH(QList<ReportEntryCtl>, order);
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1, today);
        const bool newForm = order.size() == 5;
        QList<ReportEntryCtl> seen;
        for (int i = 0; i < order.size(); ++i) {
            seen << focusedId();
            type(QString::number(i + 1));
            enter();
        }
        QCOMPARE(seen, order);
        QVERIFY(!dlg.isVisible());
        const GroupStore& store = d.main->groupFile().store;
        QCOMPARE(int(store.record(1).hours[kReportMonth]), 3);
        QCOMPARE(GroupStore::isNewFormMonth(store.record(1).newFormMonthsValue(), kReportMonth),
                 newForm);
        if (newForm) {
            QCOMPARE(int(store.getNewFormValue(1, kReportMonth, NewFormValue::Publications)), 1);
            QCOMPARE(int(store.getNewFormValue(1, kReportMonth, NewFormValue::BibleStudies)), 5);
        } else {
            QCOMPARE(int(store.getValue(1, kReportMonth, OldFormValue::Books)), 1);
            QCOMPARE(int(store.getValue(1, kReportMonth, OldFormValue::Magazines)), 4);
            QCOMPARE(int(store.getValue(1, kReportMonth, OldFormValue::BibleStudies)), 6);
        }
        // On disk at once, and named in the main window.
        QCOMPARE(int(d.reload().record(1).hours[kReportMonth]), 3);
        QCOMPARE(d.main->entryContext().lastEnteredName, std::string("Anna Berg"));
        QCOMPARE(d.mainText(ReportsCtl::LastEntered), QStringLiteral("Anna Berg"));
    }

    void arrowsWrapAroundTheFields_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<ReportEntryCtl>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<ReportEntryCtl>("to");
        using enum ReportEntryCtl;
        QTest::newRow("right in the last")
            << kNewFormDay << BibleStudies << int(Qt::Key_Right) << BooksOrPublications;
        QTest::newRow("left in the first")
            << kNewFormDay << BooksOrPublications << int(Qt::Key_Left) << BibleStudies;
        QTest::newRow("right past the hidden magazines")
            << kNewFormDay << Hours << int(Qt::Key_Right) << ReturnVisits;
        QTest::newRow("left past the hidden magazines")
            << kNewFormDay << ReturnVisits << int(Qt::Key_Left) << Hours;
        QTest::newRow("right onto magazines")
            << kOldFormDay << Hours << int(Qt::Key_Right) << Magazines;
    }
    void arrowsWrapAroundTheFields() {
        QFETCH(QDate, today);
        QFETCH(ReportEntryCtl, from);
        QFETCH(int, key);
        QFETCH(ReportEntryCtl, to);
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        d.open(1, today);
        while (focusedId() != from) {
            press(Qt::Key_Tab);
        }
        press(Qt::Key(key));
        QCOMPARE(focusedId(), to);
        QCOMPARE(focusedEdit()->selectedText(), focusedEdit()->text());
    }

    void fieldsTakeOnlyDigitsAndThePoint() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        d.open(1);
        QLineEdit* f = focusedEdit();
        type("1a-,2.5x");
        QCOMPARE(f->text(), QStringLiteral("12.5"));
        QTest::sendKeyEvent(QTest::Click, f, Qt::Key_unknown, QStringLiteral("٣"), Qt::NoModifier);
        QCOMPARE(f->text(), QStringLiteral("12.5")); // other scripts' digits are not ours
        f->setText(QStringLiteral("123"));
        type(" ");
        QCOMPARE(f->text(), QStringLiteral("0"));
        QCOMPARE(f->selectedText(), QStringLiteral("0"));
        type("7");
        QCOMPARE(f->text(), QStringLiteral("7"));
        press(Qt::Key_Backspace);
        QCOMPARE(f->text(), QString());

        // A paste is taken whole or not at all.
        QGuiApplication::clipboard()->setText(QStringLiteral("12a"));
        press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f->text(), QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("34"));
        press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f->text(), QStringLiteral("34"));

        // Input methods go through the same gate; their blank resets as the key does.
        const auto commit = [f](const QString& s) {
            QInputMethodEvent e;
            e.setCommitString(s);
            QApplication::sendEvent(f, &e);
        };
        commit(QStringLiteral("5x"));
        QCOMPARE(f->text(), QStringLiteral("34"));
        commit(QStringLiteral("5"));
        QCOMPARE(f->text(), QStringLiteral("345"));
        commit(QStringLiteral(" "));
        QCOMPARE(f->text(), QStringLiteral("0"));
    }

    void oldFormMonthEnteredInTheNewForm() {
        GroupRecord anna = person("Anna", "Berg");
        packOldForm(anna, kReportMonth, {3, 2, 0, 10, 4, 1});
        anna.hours[kReportMonth] = 6;
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        d.open(1);
        QVERIFY(!d.visible(ReportEntryCtl::Magazines) &&
                !d.visible(ReportEntryCtl::MagazinesLabel));
        QCOMPARE(d.fields(), QStringList({"15", "0", "6", "4", "1"}));
        enter(5);
        const GroupRecord& r = d.main->groupFile().store.record(1);
        QVERIFY(GroupStore::isNewFormMonth(r.newFormMonthsValue(), kReportMonth));
        const NewFormValues v = unpackNewForm(r, kReportMonth);
        QCOMPARE(int(v[NewFormValue::Publications]), 15);
        QCOMPARE(int(v[NewFormValue::Videos]), 0);
    }

    void newFormMonthStoredInTheOldFormClearsItsBit() {
        GroupRecord anna = person("Anna", "Berg");
        packNewForm(anna, kReportMonth, {20, 7, 3, 2});
        anna.setNewFormMonthsValue(1u << kReportMonth);
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        d.open(1, kOldFormDay);
        QCOMPARE(d.fields(), QStringList({"20", "7", "0", "0", "3", "2"}));
        enter(6);
        const GroupRecord& r = d.main->groupFile().store.record(1);
        QVERIFY(!GroupStore::isNewFormMonth(r.newFormMonthsValue(), kReportMonth));
        const OldFormValues v = unpackOldForm(r, kReportMonth);
        QCOMPARE(int(v[OldFormValue::Books]), 20);
        QCOMPARE(int(v[OldFormValue::Brochures]), 7);
        QCOMPARE(int(v[OldFormValue::ReturnVisits]), 3);
    }

    void hoursAreRoundedToAQuarterWhenLeft_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("quarter");
        QTest::newRow("point") << "12.1"
                               << "12.25" << 1;
        QTest::newRow("comma") << "12,5"
                               << "12.5" << 2;
        QTest::newRow("zero fraction") << "12,0"
                                       << "12" << 0;
    }
    void hoursAreRoundedToAQuarterWhenLeft() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, quarter);
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        d.open(1);
        enter(2);
        type(typed);
        enter();
        QCOMPARE(d.field(ReportEntryCtl::Hours), shown);
        enter(2);
        QCOMPARE(int(d.main->groupFile().store.record(1).hours[kReportMonth]), 12);
        QCOMPARE(int(d.main->groupFile().store.record(1).quarterHours[kReportMonth]), quarter);
    }

    // Pasted text is refused whole, with the field's message, unless it is digits and separators.
    void pastedTextIsRefusedWithTheFieldsMessage() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        enter(2);
        QCOMPARE(focusedId(), ReportEntryCtl::Hours);
        QApplication::clipboard()->setText(QStringLiteral("10,5"));
        press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(d.field(ReportEntryCtl::Hours), QStringLiteral("10,5"));
        QApplication::clipboard()->setText(QStringLiteral("ca 12"));
        focusedEdit()->selectAll();
        press(Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE(d.desk->messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(d.desk->messages.shown.back()),
                 QStringLiteral("Skriv timmar som 12, 12,25, 12,5 eller 12,75 (högst 255) i "
                                "fältet Timmar."));
        QCOMPARE(d.field(ReportEntryCtl::Hours), QStringLiteral("10,5"));
        QCOMPARE(focusedId(), ReportEntryCtl::Hours);
        QCOMPARE(focusedEdit()->selectedText(), QStringLiteral("10,5"));
        press(Qt::Key_Right);
        focusedEdit()->selectAll();
        press(Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE(d.desk->messages.shown.size(), std::size_t(2));
        QCOMPARE(qs(d.desk->messages.shown.back()),
                 QStringLiteral("Skriv ett heltal som är 0 eller större i fältet Åb."));
        QCOMPARE(d.field(ReportEntryCtl::Hours), QStringLiteral("10.5"));
        QCOMPARE(d.field(ReportEntryCtl::ReturnVisits), QStringLiteral("0"));
        QVERIFY(dlg.isVisible());
    }

    // Only reported months make the history: a month with return visits but no hours is none.
    // Each unusual figure is asked about in turn; Yes to all stores them.
    void unusualFiguresAnsweredYesAreStored() {
        GroupRecord anna = person("Anna", "Berg");
        for (int m = 4; m < kReportMonth; ++m) {
            anna.hours[m] = static_cast<std::uint8_t>(10 + m);
            packNewForm(anna, m, NewFormValues{{1, 0, 2, 1}});
        }
        packNewForm(anna, 3, NewFormValues{{0, 0, 45, 0}});
        anna.setNewFormMonthsValue(0x0FFF);
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1);
        d.desk->messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
        enter(2);
        type("105");
        enter();
        type("40");
        enter(2);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(d.desk->messages.shown,
                 (std::vector<std::string>{
                     "Timmar: 105 är mycket mer än tidigare månader (högst 19). Stämmer det?",
                     "Åb: 40 är mycket mer än tidigare månader (högst 2). Stämmer det?"}));
        QCOMPARE(d.desk->messages.defaults, (std::vector<MsgAnswer>{MsgAnswer::No, MsgAnswer::No}));
        const GroupRecord& stored = d.main->groupFile().store.record(1);
        QCOMPARE(int(stored.hours[kReportMonth]), 105);
        QCOMPARE(int(unpackNewForm(stored, kReportMonth)[NewFormValue::ReturnVisits]), 40);
    }

    void valuesThatDoNotFitAreRefusedOnTheirField_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<ReportEntryCtl>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const auto positive = [](const char* field) {
            return QStringLiteral("Skriv ett heltal som är 0 eller större i fältet %1.")
                .arg(QString::fromUtf8(field));
        };
        const auto range = [](int max, const char* field) {
            return QStringLiteral("Skriv ett heltal mellan 0 och %1 i fältet %2.")
                .arg(max)
                .arg(QString::fromUtf8(field));
        };
        const QString hours = QStringLiteral(
            "Skriv timmar som 12, 12,25, 12,5 eller 12,75 (högst 255) i fältet Timmar.");
        QTest::newRow("old-form books")
            << kOldFormDay << ReportEntryCtl::BooksOrPublications << "256" << range(255, "Böcker");
        QTest::newRow("publications")
            << kNewFormDay << ReportEntryCtl::BooksOrPublications << "4096" << range(4095, "Publ");
        QTest::newRow("studies") << kNewFormDay << ReportEntryCtl::BibleStudies << "70"
                                 << range(63, "Bib.st");
        QTest::newRow("return visits with a point")
            << kNewFormDay << ReportEntryCtl::ReturnVisits << "1.5" << positive("Åb");
        QTest::newRow("emptied videos")
            << kNewFormDay << ReportEntryCtl::BrochuresOrVideos << "" << positive("Filmer");
        QTest::newRow("hours") << kNewFormDay << ReportEntryCtl::Hours << "256" << hours;
        QTest::newRow("endless hours")
            << kNewFormDay << ReportEntryCtl::Hours << "99999999999999999999" << hours;
    }
    void valuesThatDoNotFitAreRefusedOnTheirField() {
        QFETCH(QDate, today);
        QFETCH(ReportEntryCtl, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& dlg = d.open(1, today);
        const GroupRecord before = d.main->groupFile().store.record(1);
        while (focusedId() != field) {
            press(Qt::Key_Right);
        }
        typed.isEmpty() ? press(Qt::Key_Backspace) : type(typed);
        while (focusedId() != ReportEntryCtl::BibleStudies) {
            press(Qt::Key_Right);
        }
        enter();
        QVERIFY(dlg.isVisible());
        QCOMPARE(qs(d.desk->messages.shown.back()), message);
        QCOMPARE(focusedId(), field);
        QCOMPARE(focusedEdit()->selectedText(), typed);
        QVERIFY(sameBytes(d.main->groupFile().store.record(1), before));
    }

    void okWithNothingChangedStoresNothingButRefreshesTheStatus() {
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        const std::string file = readFile(d.path());
        d.open(1);
        d.main->groupFile().store.record(2).hours[kReportMonth] = 2; // reported meanwhile
        enter(5);
        QCOMPARE(d.mainText(ReportsCtl::MissingCount),
                 QStringLiteral("Utebliven rapport för november = 1"));
        QCOMPARE(d.main->entryContext().lastEnteredName, std::string());
        QCOMPARE(readFile(d.path()), file);
    }
};

int runReportEntryDlgTest(int argc, char** argv) {
    ReportEntryDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReportEntryDlgTest.moc"
