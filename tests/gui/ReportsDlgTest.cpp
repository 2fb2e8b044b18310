// SPDX-License-Identifier: GPL-3.0-or-later
// The main report window, driven from the keyboard as a collector would.
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

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

bool visible(CReportsDlg& dlg, ReportsCtl id) {
    return control(&dlg, id)->isVisible();
}

QString text(CReportsDlg& dlg, ReportsCtl id) {
    QWidget* w = control(&dlg, id);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    return qobject_cast<QPushButton*>(w)->text();
}

QStringList lines(CReportsDlg& dlg) {
    QStringList out;
    for (int i = 0; i < dlg.publisherListBox()->count(); ++i) {
        out << dlg.publisherListBox()->item(i)->text();
    }
    return out;
}

std::vector<PublisherSpec> fourPeople() {
    return {
        {"Olle", "Öberg", "08-123 45 67", "", "", "olle@example.se", 0},
        {"Anna", "Berg", "12345", "070-111 22 33", "08-765 43 21", "", 5},
        {"Åsa", "Ek", "", "", "", "asa@example", 0},
        {"Bo", "Ahl", "08-1", "070-1", "08-222 33 44", "bo@example.se", 0},
    };
}

} // namespace

class ReportsDlgTest : public QObject {
    Q_OBJECT

private:
    ScratchDir dir;
    QString groupPath() const { return QString::fromStdString(dir.file("Grupp.z08")); }

private slots:
    void init() {
        writeGroup(dir.file("Grupp.z08"), 10, 4, fourPeople());
        QDir::setCurrent(QString::fromStdString(dir.path().string()));
    }

    void dateRules() {
        QCOMPARE(CReportsDlg::reportMonthFor(QDate(2026, 1, 15)), 11);
        QCOMPARE(CReportsDlg::reportMonthFor(QDate(2026, 12, 8)), 10);
        QVERIFY(!CReportsDlg::newFormAtStart(QDate(2016, 1, 10), 11));
        QVERIFY(CReportsDlg::newFormAtStart(QDate(2016, 2, 10), 0));
        QVERIFY(CReportsDlg::newFormAtStart(QDate(2015, 12, 1), 10) == false);
        QVERIFY(CReportsDlg::newFormAtStart(QDate(2017, 1, 1), 11));
        // January 2016: a December file keeps the old form, a January or February one turns it on.
        QVERIFY(!CReportsDlg::newFormAfterLoad(QDate(2016, 1, 10), 11));
        QVERIFY(CReportsDlg::newFormAfterLoad(QDate(2016, 1, 10), 0));
        QVERIFY(CReportsDlg::newFormAfterLoad(QDate(2016, 1, 10), 1));
        QVERIFY(!CReportsDlg::newFormAfterLoad(QDate(2016, 1, 10), 2));
    }

    void startsOnTheQuotedCommandLineFileInAnyCase() {
        const QString upper = QString::fromStdString(dir.file("GRUPP.Z08"));
        QFile::copy(groupPath(), upper);
        Desk desk;
        desk.profile.values[QStringLiteral("Last/LoadPath")] = QStringLiteral("/nowhere/else.z08");
        auto dlg = desk.open(QLatin1Char('"') + upper + QLatin1Char('"'));
        QCOMPARE(dlg->groupFile().store.groupFilePath, upper.toStdString());
        QCOMPARE(dlg->groupFile().store.publisherCount, 4);
        QVERIFY(desk.messages.shown.empty());
        // The file's order, in list form.
        QCOMPARE(lines(*dlg), QStringList({"Öberg, Olle", "Berg, Anna", "Ek, Åsa", "Ahl, Bo"}));
        QCOMPARE(dlg->windowTitle(),
                 QStringLiteral("Insamling av rapporter för november - Grupp 4 "));
        QCOMPARE(text(*dlg, ReportsCtl::MissingCount),
                 QStringLiteral("Utebliven rapport för november = 3"));
        QCOMPARE(text(*dlg, ReportsCtl::PublisherCount), QStringLiteral("Summa förkunnare = 4"));
        QVERIFY(visible(*dlg, ReportsCtl::SendUpdates) &&
                visible(*dlg, ReportsCtl::SummaryPreview) &&
                visible(*dlg, ReportsCtl::UnreportedOnly));
        QCOMPARE(dlg->focusWidget(), dlg->publisherListBox());
    }

    void otherCommandLinesFallBackToTheProfile() {
        for (const QString& line :
             {QStringLiteral("notes.txt"), groupPath() + QStringLiteral(" extra")}) {
            Desk desk;
            desk.profile.values[QStringLiteral("Last/LoadPath")] = groupPath();
            desk.profile.values[QStringLiteral("Last/Post")] = QStringLiteral("Anna Berg");
            auto dlg = desk.open(line);
            QCOMPARE(dlg->groupFile().store.publisherCount, 4);
            // The profile's name may be of any group; only the group's own state names one.
            QCOMPARE(text(*dlg, ReportsCtl::LastEntered), QString());
        }
    }

    void withoutAFileTheWindowIsEmpty() {
        Desk desk;
        auto dlg = desk.open(QString(), QDate(2026, 1, 5));
        QCOMPARE(dlg->publisherListBox()->count(), 0);
        QCOMPARE(dlg->groupFile().store.reportMonth, 11);
        QVERIFY(!visible(*dlg, ReportsCtl::SendUpdates) &&
                !visible(*dlg, ReportsCtl::SummaryPreview) &&
                !visible(*dlg, ReportsCtl::UnreportedOnly));
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Rapporter över tjänst på fältet"));
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return); // nothing to open
        QVERIFY(dlg->isVisible());
    }

    void aMissingFileIsReported() {
        Desk desk;
        const QString missing = QString::fromStdString(dir.file("borta.z08"));
        auto dlg = desk.open(missing);
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(desk.messages.shown[0]),
                 qs(FormatText(LoadString(StringId::CannotOpenFile), missing.toStdString())));
        QCOMPARE(text(*dlg, ReportsCtl::PublisherCount), QStringLiteral("Summa förkunnare = 0"));
    }

    void selectionShowsNumbersAndReminderButtons() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        // Olle: one number, a reminder address.
        QCOMPARE(text(*dlg, ReportsCtl::EnterReport), QStringLiteral("För in - Olle Öberg"));
        QVERIFY(visible(*dlg, ReportsCtl::Dial) && !visible(*dlg, ReportsCtl::NextNumber));
        QCOMPARE(text(*dlg, ReportsCtl::PhoneNumber), QStringLiteral("08-123 45 67"));
        QVERIFY(visible(*dlg, ReportsCtl::SendReminder) &&
                visible(*dlg, ReportsCtl::ReminderPreview));
        QCOMPARE(text(*dlg, ReportsCtl::SendReminder), QStringLiteral("E-mail - olle@example.se"));

        // Anna: reported, two usable numbers, no address.
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Down);
        QCOMPARE(text(*dlg, ReportsCtl::EnterReport), QStringLiteral("För in - Anna Berg"));
        QVERIFY(visible(*dlg, ReportsCtl::Dial) && visible(*dlg, ReportsCtl::NextNumber));
        QVERIFY(!visible(*dlg, ReportsCtl::SendReminder) &&
                !visible(*dlg, ReportsCtl::ReminderPreview));
        QCOMPARE(text(*dlg, ReportsCtl::PhoneNumber), QStringLiteral("070-111 22 33"));
        QTest::mouseClick(control(dlg.get(), ReportsCtl::NextNumber), Qt::LeftButton);
        QCOMPARE(text(*dlg, ReportsCtl::PhoneNumber), QStringLiteral("08-765 43 21"));
        QTest::mouseClick(control(dlg.get(), ReportsCtl::NextNumber), Qt::LeftButton);
        QCOMPARE(text(*dlg, ReportsCtl::PhoneNumber), QStringLiteral("070-111 22 33"));
        QCOMPARE(dlg->focusWidget(), dlg->publisherListBox());

        // Åsa: no numbers, an unusable address.
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Down);
        QVERIFY(!visible(*dlg, ReportsCtl::Dial) && !visible(*dlg, ReportsCtl::NextNumber) &&
                !visible(*dlg, ReportsCtl::PhoneNumber));
        QVERIFY(!visible(*dlg, ReportsCtl::SendReminder));

        // Bo: only his third number is long enough.
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Down);
        QVERIFY(visible(*dlg, ReportsCtl::Dial) && !visible(*dlg, ReportsCtl::NextNumber));
        QCOMPARE(text(*dlg, ReportsCtl::PhoneNumber), QStringLiteral("08-222 33 44"));
    }

    void threeNumbersCycle() {
        writeGroup(dir.file("tre.z08"), 10, 2,
                   {{"Tre", "Nummer", "08-111 11 11", "08-222 22 22", "08-333 33 33", "", 0},
                    {"Ingen", "Alls", "", "", "", "", 0}});
        Desk desk;
        auto dlg = desk.open(QString::fromStdString(dir.file("tre.z08")));
        QStringList seen;
        for (int i = 0; i < 4; ++i) {
            seen << text(*dlg, ReportsCtl::PhoneNumber);
            QTest::mouseClick(control(dlg.get(), ReportsCtl::NextNumber), Qt::LeftButton);
        }
        QCOMPARE(seen,
                 QStringList({"08-111 11 11", "08-222 22 22", "08-333 33 33", "08-111 11 11"}));
    }

    void typingASurnameAndEnterOpensTheReport() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QString opened;
        whenModalOpens([&](QWidget* modal) {
            opened = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("Ek"));
        QCOMPARE(dlg->publisherListBox()->currentItem()->text(), QStringLiteral("Ek, Åsa"));
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QCOMPARE(opened, QStringLiteral("Åsa Ek"));
        QCOMPARE(dlg->focusWidget(), dlg->publisherListBox());
        QVERIFY(dlg->isVisible());
    }

    void filterShowsOnlyTheMissingReports() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        control<QCheckBox>(dlg.get(), ReportsCtl::UnreportedOnly)->click();
        QCOMPARE(lines(*dlg), QStringList({"Öberg, Olle", "Ek, Åsa", "Ahl, Bo"}));
        // The selected publisher reports: the line goes, its neighbour takes the selection.
        dlg->publisherListBox()->setCurrentRow(1);
        dlg->groupFile().store.record(3).hours[10] = 4;
        whenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QCOMPARE(lines(*dlg), QStringList({"Öberg, Olle", "Ahl, Bo"}));
        QCOMPARE(dlg->publisherListBox()->currentRow(), 1);
        // On the last line it falls back to the first.
        dlg->groupFile().store.record(4).hours[10] = 4;
        whenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QCOMPARE(lines(*dlg), QStringList({"Öberg, Olle"}));
        QCOMPARE(dlg->publisherListBox()->currentRow(), 0);
    }

    void aRemarkOnlyMonthIsCountedApartAndMarkedInTheList() {
        // Olle's November holds only a remark; Ek and Ahl are missing, Berg has reported.
        {
            RecordingSink sink;
            GroupStore store(sink);
            QVERIFY(store.loadGroupFile(dir.file("Grupp.z08")));
            std::string old;
            QVERIFY(store.setRemark(1, 10, store.getRemark(1, 10, old, false), "sjuk"));
            QVERIFY(store.saveGroupFile(dir.file("Grupp.z08")));
        }
        Desk desk;
        auto dlg = desk.open(groupPath());
        QCOMPARE(text(*dlg, ReportsCtl::PublisherCount), QStringLiteral("Summa förkunnare = 4"));
        QCOMPARE(text(*dlg, ReportsCtl::MissingCount),
                 QStringLiteral("Utebliven rapport för november = 2"));
        QVERIFY(visible(*dlg, ReportsCtl::RemarkOnlyCount));
        QCOMPARE(text(*dlg, ReportsCtl::RemarkOnlyCount),
                 QStringLiteral("Endast anmärkning för november = 1"));
        QCOMPARE(lines(*dlg),
                 QStringList({"Öberg, Olle (anm.)", "Berg, Anna", "Ek, Åsa", "Ahl, Bo"}));
        // Not missing: no reminder, and the filter leaves the line out.
        QCOMPARE(dlg->publisherListBox()->currentRow(), 0);
        QVERIFY(!visible(*dlg, ReportsCtl::SendReminder));
        // Typing the name still finds the marked line.
        dlg->publisherListBox()->setCurrentRow(3);
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("Öb"));
        QCOMPARE(dlg->publisherListBox()->currentRow(), 0);
        control<QCheckBox>(dlg.get(), ReportsCtl::UnreportedOnly)->click();
        QCOMPARE(lines(*dlg), QStringList({"Ek, Åsa", "Ahl, Bo"}));
        control<QCheckBox>(dlg.get(), ReportsCtl::UnreportedOnly)->click();

        // Figures entered for Olle: the mark and the third line go at once.
        dlg->publisherListBox()->setCurrentRow(0);
        dlg->groupFile().store.record(1).hours[10] = 4;
        whenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QCOMPARE(lines(*dlg).first(), QStringLiteral("Öberg, Olle"));
        QVERIFY(!visible(*dlg, ReportsCtl::RemarkOnlyCount));
        QCOMPARE(text(*dlg, ReportsCtl::MissingCount),
                 QStringLiteral("Utebliven rapport för november = 2"));
    }

    void onePublisherGroupIsNotWrittenBackYetStillOpens() {
        writeGroup(dir.file("ett.z08"), 10, 1, {{"Ensam", "Person", "", "", "", "", 0}});
        const std::string before = readFile(dir.file("ett.z08"));
        Desk desk;
        auto dlg = desk.open(QString::fromStdString(dir.file("ett.z08")));
        QCOMPARE(text(*dlg, ReportsCtl::EnterReport),
                 QStringLiteral("OK")); // not updated for one publisher
        QString opened;
        whenModalOpens([&](QWidget* modal) {
            opened = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QCOMPARE(opened, QStringLiteral("Ensam Person"));
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QVERIFY(desk.messages.shown.empty());
        QCOMPARE(desk.profile.values.value("Last/LoadPath"),
                 QString::fromStdString(dir.file("ett.z08")));
        QCOMPARE(readFile(dir.file("ett.z08")), before);
    }

    void escapeWritesTheGroupAndTheProfile() {
        const std::string before = readFile(dir.file("Grupp.z08"));
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(readFile(dir.file("Grupp.z08")), before); // nothing entered: same bytes
        QCOMPARE(desk.profile.values.value("Last/LoadPath"), groupPath());
        QVERIFY(desk.profile.values.contains("Last/Post")); // written even when empty
        QCOMPARE(desk.profile.values.value("Last/Post"), QString());
    }

    void exitThatCannotSaveAsksBeforeDroppingReports() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        // The file's folder disappears under the program.
        dlg->groupFile().store.groupFilePath = dir.file("borta/Grupp.z08");
        desk.messages.answers = {MsgAnswer::Ok, MsgAnswer::No};
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QVERIFY(dlg->isVisible());
        QCOMPARE(desk.messages.shown.size(), std::size_t(2));
        QCOMPARE(qs(desk.messages.shown[1]), qs(LoadString(StringId::ExitWithoutSaving)));
        QCOMPARE(dlg->groupFile().store.publisherCount, 4); // nothing dropped
        QCOMPARE(desk.profile.writes, 0);
        desk.messages.answers = {MsgAnswer::Ok, MsgAnswer::Yes};
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(desk.profile.writes, 2);
    }

    void profileThatCannotBeWrittenIsReported() {
        Desk desk;
        desk.profile.failWrites = true;
        auto dlg = desk.open(groupPath());
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(desk.messages.shown[0]),
                 QStringLiteral("Inställningarna kunde inte sparas i /profile/zadw.ini."));
    }

    void loadingANewListSavesTheOldOneFirst() {
        writeGroup(dir.file("ny.z08"), 9, 7,
                   {{"Ny", "Ett", "", "", "", "", 0}, {"Ny", "Två", "", "", "", "", 0}});
        Desk desk;
        desk.profile.values[QStringLiteral("Last/Post")] = QStringLiteral("Anna Berg");
        auto dlg = desk.open(groupPath());
        dlg->groupFile().store.record(1).hours[10] = 9; // an entry made this run
        dlg->groupFile().markChanged();
        desk.files.next = QString::fromStdString(dir.file("ny.z08"));
        desk.messages.answers = {MsgAnswer::No}; // not sent: read the new list all the same
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        QCOMPARE(desk.files.lastTitle,
                 QStringLiteral("Välj sammanställningsfil från sekreteraren"));
        QCOMPARE(desk.files.lastFolder, QString::fromStdString(dir.path().string()));
        QCOMPARE(lines(*dlg), QStringList({"Ett, Ny", "Två, Ny"}));
        QCOMPARE(dlg->windowTitle(),
                 QStringLiteral("Insamling av rapporter för oktober - Grupp 7 "));
        QCOMPARE(text(*dlg, ReportsCtl::LastEntered), QString());
        QCOMPARE(QDir::currentPath(), dlg->startFolder());
        // The entry reached the old file.
        RecordingSink sink;
        GroupStore old(sink);
        old.loadGroupFile(dir.file("Grupp.z08"));
        QCOMPARE(int(old.record(1).hours[10]), 9);
    }

    void loadingANewListIgnoresCancelAndOtherFiles() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        desk.files.next = QString();
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        QCOMPARE(dlg->groupFile().store.publisherCount, 4);
        desk.files.next = QString::fromStdString(dir.file("lista.txt"));
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        QCOMPARE(dlg->groupFile().store.publisherCount, 4);
        QCOMPARE(desk.files.calls, 2);
        // Without a current file the chooser opens in the start folder.
        Desk other;
        auto empty = other.open(QString());
        QTest::mouseClick(control(empty.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        QCOMPARE(other.files.lastFolder, empty->startFolder());
    }

    void tipsAreJoinedExactly() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::mouseClick(control(dlg.get(), ReportsCtl::Help), Qt::LeftButton);
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        const std::string tips = desk.messages.shown[0];
        QVERIFY(tips.find("Grupp.z08-fil för den månad du sammanställer.  Skicka filen") !=
                std::string::npos);
        // The chase list and the year overview after the remarks, the shortcuts at the end.
        QVERIFY(tips.find("Ändra månad.\n\nMed Ctrl+M") != std::string::npos);
        QVERIFY(tips.find("'Årsöversikt…' (Ctrl+Y)") != std::string::npos);
        QVERIFY(tips.find("på annat sätt.\n\nKortkommandon: F1") != std::string::npos);
        QVERIFY(tips.rfind("från ruta till ruta.") ==
                tips.size() - std::string("från ruta till ruta.").size());
        QVERIFY(desk.messages.icons[0] == MsgIcon::Information);
    }

    void reminderPreviewNamesTheMonth() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::mouseClick(control(dlg.get(), ReportsCtl::ReminderPreview), Qt::LeftButton);
        QCOMPARE(qs(desk.messages.shown.at(0)),
                 QStringLiteral("Skicka in din rapport för november. \nTack."));
    }

    void captionEndsWithABlankForDecemberAndTwoDigitGroups() {
        writeGroup(dir.file("dec.z08"), 11, 12, fourPeople());
        Desk desk;
        auto dlg = desk.open(QString::fromStdString(dir.file("dec.z08")));
        QCOMPARE(dlg->windowTitle(),
                 QStringLiteral("Insamling av rapporter för december - Grupp 12 "));
    }
};

QTEST_MAIN(ReportsDlgTest)
#include "ReportsDlgTest.moc"
