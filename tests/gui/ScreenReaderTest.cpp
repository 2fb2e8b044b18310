// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as a screen reader, voice control or a newcomer at the keyboard meets them: the
// selection made through the accessibility interface is the one the program acts on, changing
// texts are spoken with the control in use, and the commands are found in the order they stand.
#include "AccessibleEvents.h"
#include "ReportEntryTestSupport.h"

#include "MissingReportsDlg.h"

#include <QMenu>
#include <QTreeWidget>

using namespace zadw;
using namespace zadw::test;

namespace {

// November; Berg has reported. Öberg and Holm have two numbers and an address.
const std::vector<PublisherSpec> kGroup = {
    {"Olle", "Öberg", "08-123 45 67", "070-765 43 21", "", "olle@example.se", 0},
    {"Anna", "Berg", "070-111 22 33", "", "", "", 5},
    {"Åsa", "Ek", "", "", "", "", 0},
    {"Eva", "Holm", "08-55 55 55", "08-66 66 66", "", "eva@example.se", 0},
};

QAccessibleInterface* cellOf(QAbstractItemView* view, int row) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(view);
    return iface != nullptr && iface->tableInterface() != nullptr
               ? iface->tableInterface()->cellAt(row, 0)
               : nullptr;
}

// What voice control or a screen reader does to choose a line.
enum class ReaderWay { Toggle, SelectRow, ToggleOffTheSelected };

void chooseThroughTheReader(QAbstractItemView* view, int row, ReaderWay way) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
    switch (way) {
    case ReaderWay::Toggle:
        cellOf(view, row)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        break;
    case ReaderWay::SelectRow:
        list->tableInterface()->selectRow(row);
        break;
    case ReaderWay::ToggleOffTheSelected:
        cellOf(view, view->currentIndex().row())
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        break;
    }
}

QString caption(QWidget* window, ReportsCtl id) {
    return control<QPushButton>(window, id)->accessibleName();
}

} // namespace

class ScreenReaderTest : public QObject {
    Q_OBJECT

    ScratchDir dir;
    QString groupPath() const { return qs(dir.file("Grupp.z08")); }

private slots:
    void init() { writeGroup(dir.file("Grupp.z08"), kReportMonth, 4, kGroup); }

    // The line a reader selects is the one "För in - …", the contact buttons and Enter act on.
    void theReadersSelectionIsTheOneActedOn_data() {
        QTest::addColumn<ReaderWay>("way");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::newRow("Toggle") << ReaderWay::Toggle << 3 << "Eva Holm";
        QTest::newRow("selectRow") << ReaderWay::SelectRow << 2 << "Åsa Ek";
        // Single selection: the line cannot be left without one; it stays Olle's.
        QTest::newRow("Toggle off") << ReaderWay::ToggleOffTheSelected << 0 << "Olle Öberg";
    }
    void theReadersSelectionIsTheOneActedOn() {
        QFETCH(ReaderWay, way);
        QFETCH(int, row);
        QFETCH(QString, name);
        Desk desk;
        auto dlg = desk.open(groupPath());
        QListWidget* list = dlg->publisherListBox();
        chooseThroughTheReader(list, row, way);
        QCOMPARE(list->currentRow(), row);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(row)});
        QVERIFY(cellOf(list, row)->state().selected);
        QCOMPARE(caption(dlg.get(), ReportsCtl::EnterReport), QStringLiteral("För in - ") + name);
        // The contact controls are the chosen publisher's, as after a click.
        const Contacts contacts = dlg->groupFile().store.collectPhones(dlg->PublisherOnLine(row));
        QCOMPARE(control(dlg.get(), ReportsCtl::Dial)->isVisible(), contacts.count > 0);
        QCOMPARE(control(dlg.get(), ReportsCtl::SendReminder)->isVisible(),
                 !contacts.reminderAddress.empty());
        QString opened;
        whenModalOpens([&](QWidget* modal) {
            opened = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(opened, name);
    }

    void theMonthAndChaseListsFollowTheReaderToo() {
        EntryDesk d;
        d.save(kReportMonth, {person("Anna", "Berg"), person("Bo", "Ahl")});
        CReportEntryDlg& entry = d.open(1);
        alt(Qt::Key_M);
        chooseThroughTheReader(control<QListWidget>(&entry, ReportEntryCtl::MonthList), 8,
                               ReaderWay::Toggle);
        QCOMPARE(d.text(ReportEntryCtl::MonthName), QStringLiteral("september"));
        QCOMPARE(entry.month, 8);
        d.close();

        Desk desk;
        auto dlg = desk.open(groupPath());
        bool checked = false;
        whenModalOpens([&](QWidget* modal) {
            auto* chase = qobject_cast<CMissingReportsDlg*>(modal);
            QVERIFY(chase != nullptr);
            QTreeWidget* lines = chase->lineList();
            QVERIFY(control(chase, MissingReportsCtl::Dial)->isEnabled()); // Öberg, first
            chooseThroughTheReader(lines, 2, ReaderWay::Toggle);           // Ek: no number
            QCOMPARE(lines->currentIndex().row(), 2);
            QVERIFY(!control(chase, MissingReportsCtl::Dial)->isEnabled());
            checked = true;
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::keyClick(dlg.get(), Qt::Key_M, Qt::ControlModifier);
        QTRY_VERIFY(checked);
    }

    // "Ring upp" is read with the number it rings, whichever number "> > >" shows.
    void theDialButtonIsDescribedByItsNumber() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QWidget* dial = control(dlg.get(), ReportsCtl::Dial);
        QCOMPARE(dial->accessibleDescription(), QStringLiteral("08-123 45 67"));
        QTest::mouseClick(control(dlg.get(), ReportsCtl::NextNumber), Qt::LeftButton);
        QCOMPARE(dial->accessibleDescription(), QStringLiteral("070-765 43 21"));
        dlg->publisherListBox()->setCurrentRow(2); // Ek: no number
        QCOMPARE(dial->accessibleDescription(), QString());
    }

    // The dialog says its publisher and its warning; the warning, when it changes, is said where
    // the keys are, and the focus is told where typing goes.
    void theReportDialogSpeaksWhereTheKeysAre() {
        AccessibleEvents told;
        EntryDesk d;
        GroupRecord anna = person("Anna", "Berg");
        anna.hours[kReportMonth - 1] = 5; // October entered before
        d.save(kReportMonth, {anna, person("Bo", "Ahl")});
        CReportEntryDlg& entry = d.open(1);
        QTest::qWait(0);
        QCOMPARE(entry.windowTitle(), QStringLiteral("Anna Berg"));
        QVERIFY(told.lastFocus() != nullptr);
        QCOMPARE(told.lastFocus()->object.data(),
                 control(&entry, ReportEntryCtl::BooksOrPublications));
        // The hidden month list has no line a reader could take for the focus.
        auto* months = control<QListWidget>(&entry, ReportEntryCtl::MonthList);
        for (int m = 0; m < 12; ++m) {
            QVERIFY(!cellOf(months, m)->state().focused);
        }

        alt(Qt::Key_M);
        press(Qt::Key_Up);
        QTest::qWait(0);
        const QString warning = d.text(ReportEntryCtl::Warning);
        QVERIFY(warning.startsWith(QStringLiteral("- VARNING -")));
        QCOMPARE(entry.accessibleDescription(), warning);
        QCOMPARE(months->accessibleDescription(), warning); // said with the list
        enter();
        QTest::qWait(0);
        QCOMPARE(focusedId(), ReportEntryCtl::BooksOrPublications);
        QCOMPARE(told.lastFocus()->object.data(), focused());
        QVERIFY(months->accessibleDescription().isEmpty()); // the list's own again
        QCOMPARE(entry.accessibleDescription(), d.text(ReportEntryCtl::Warning));
    }

    // A newcomer's ways in: F1, the context menu on its first item, and Tab in reading order.
    void commandsAreFoundWhereANewcomerLooks() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_F1);
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QVERIFY(desk.messages.shown[0].find("Ctrl+M") != std::string::npos);

        QString first;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&first] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                first = menu->activeAction() != nullptr ? menu->activeAction()->text() : "(none)";
                menu->close();
            }
        });
        poll.start(10);
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_COMPARE(first, qs(LoadString(StringId::MissingReports)));
        poll.stop();

        // Olle: both numbers and the reminder buttons are there to be reached.
        // Offscreen, no window manager gives the window the keyboard back after the menu: the
        // window's own focus is followed.
        QList<QWidget*> order{dlg->publisherListBox()};
        dlg->publisherListBox()->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 20 && dlg->focusWidget() != nullptr; ++i) {
            QTest::keyClick(dlg->focusWidget(), Qt::Key_Tab);
            if (dlg->focusWidget() == order.front()) {
                break;
            }
            order << dlg->focusWidget();
        }
        QCOMPARE(order.size(), 12); // the list and every command on screen, each once
        // That is the order they stand in: top to bottom, and left to right on one line.
        for (qsizetype i = 1; i < order.size(); ++i) {
            const QRect a = order[i - 1]->geometry();
            const QRect b = order[i]->geometry();
            QVERIFY2(a.top() < b.top() || (a.top() == b.top() && a.left() < b.left()),
                     qPrintable(order[i]->objectName()));
        }
    }
};

QTEST_MAIN(ScreenReaderTest)
#include "ScreenReaderTest.moc"
