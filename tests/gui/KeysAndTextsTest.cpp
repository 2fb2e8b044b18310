// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard lands where the collector means it, and texts from the file read as stored: the
// main window, the report entry and the About box, offscreen.
#include "GuiTestSupport.h"

#include "AboutDlg.h"
#include "ReportEntryDlg.h"
#include "Strings.h"
#include "TemplateReportEntry.h"
#include "TextFit.h"

#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <optional>

using namespace zadw;
using namespace zadw::test;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString accessibleName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

std::vector<PublisherSpec> group() {
    return {
        {"Lars", "Andersson", "08-123 45 67", "", "", "lars@example.se", 0},
        {"Tom & Jerry", "Holm", "070-111 22 33", "", "", "tom&jerry@example.se", 0},
        {"Karl-Gustav Mårten A", "Östergren-Wallenius", "", "", "", "", 0},
        {"Åsa", "Åkesson", "", "", "", "", 6},
    };
}

} // namespace

class KeysAndTextsTest : public QObject {
    Q_OBJECT

private:
    ScratchDir dir;
    QString groupPath() const { return qs(dir.file("Grupp.z08")); }

    // Runs fn on the next modal dialog; a watch left over from one case never reaches the next.
    std::unique_ptr<QTimer> watch;
    void onModal(std::function<void(QWidget*)> fn) {
        watch = std::make_unique<QTimer>();
        watch->setInterval(10);
        connect(watch.get(), &QTimer::timeout, this, [this, fn = std::move(fn)] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                watch->stop();
                fn(modal);
            }
        });
        watch->start();
    }
    // Notes the caption of the next modal dialog and closes it with Escape.
    QString nextModal;
    void catchModal() {
        nextModal = QStringLiteral("(none)");
        onModal([this](QWidget* modal) {
            nextModal = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
    }

private slots:
    void cleanup() { watch.reset(); }

    void init() {
        writeGroup(dir.file("Grupp.z08"), 10, 4, group());
        QDir::setCurrent(qs(dir.path().string()));
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<ReportsCtl>("button");
        QTest::addColumn<int>("chooserCalls");
        QTest::addColumn<int>("messages");
        QTest::newRow("Ladda ner ny lista") << ReportsCtl::LoadNewList << 1 << 0;
        QTest::newRow("Hjälp") << ReportsCtl::Help << 0 << 1;
        QTest::newRow("Förhandsgranska e-post") << ReportsCtl::ReminderPreview << 0 << 1;
    }
    void enterPressesTheFocusedButton() {
        QFETCH(ReportsCtl, button);
        QFETCH(int, chooserCalls);
        QFETCH(int, messages);
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("and"));
        catchModal();
        control(dlg.get(), button)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control(dlg.get(), button), Qt::Key_Return);
        QTest::qWait(50);
        QCOMPARE(nextModal, QStringLiteral("(none)")); // no report entry opened
        QCOMPARE(desk.files.calls, chooserCalls);
        QCOMPARE(int(desk.messages.shown.size()), messages);
        QCOMPARE(dlg->focusWidget(), dlg->publisherListBox());
        // Back on the list, Enter is the OK command again.
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QTRY_COMPARE(nextModal, QStringLiteral("Lars Andersson"));
    }

    void focusReturnsToTheListAfterEveryCommand_data() {
        // The About box has no button in the window: none stands for it.
        QTest::addColumn<std::optional<ReportsCtl>>("button");
        QTest::newRow("new list cancelled") << std::optional(ReportsCtl::LoadNewList);
        QTest::newRow("summary preview") << std::optional(ReportsCtl::SummaryPreview);
        QTest::newRow("dial without telephony") << std::optional(ReportsCtl::Dial);
        QTest::newRow("tips") << std::optional(ReportsCtl::Help);
        QTest::newRow("reminder without mail") << std::optional(ReportsCtl::SendReminder);
        QTest::newRow("reminder preview") << std::optional(ReportsCtl::ReminderPreview);
        QTest::newRow("about") << std::optional<ReportsCtl>();
    }
    void focusReturnsToTheListAfterEveryCommand() {
        QFETCH(std::optional<ReportsCtl>, button);
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("and"));
        catchModal();
        if (!button) {
            dlg->ShowAbout();
            QCOMPARE(nextModal, QStringLiteral("About Zadw"));
        } else {
            QTest::mouseClick(control(dlg.get(), *button), Qt::LeftButton);
        }
        QCOMPARE(dlg->focusWidget(), dlg->publisherListBox());
    }

    // Cancel after a remark: the remark's link is on disk, so the publisher counts as reported.
    void cancelledEntryStillRefreshesTheWindow() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("and"));
        QVERIFY(control(dlg.get(), ReportsCtl::SendReminder)->isVisible());
        QCOMPARE(control<QLabel>(dlg.get(), ReportsCtl::MissingCount)->text(),
                 QStringLiteral("Utebliven rapport för november = 3"));
        onModal([](QWidget* modal) {
            // The keyboard, not only the look of it: a dialog over an active owner counts as
            // active before it has the focus, and without the focus no field is ever left.
            QVERIFY(QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }));
            QTest::keyClick(modal->focusWidget(), Qt::Key_R, Qt::AltModifier);
            // A slow machine (the sanitizers) may take a moment to hand the editor its focus.
            QWidget* remark = control(modal, ReportEntryCtl::RemarkEdit);
            QTRY_COMPARE(modal->focusWidget(), remark);
            QTest::keyClicks(remark, QStringLiteral("Sjuk"));
            QTest::keyClick(remark, Qt::Key_Return);
            QTRY_VERIFY(modal->focusWidget() != remark);
            QTest::keyClick(modal->focusWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QCOMPARE(control<QLabel>(dlg.get(), ReportsCtl::MissingCount)->text(),
                 QStringLiteral("Utebliven rapport för november = 2"));
        QVERIFY(!control(dlg.get(), ReportsCtl::SendReminder)->isVisible());
        QCOMPARE(dlg->focusWidget(), dlg->publisherListBox());
    }

    void exitQuestionDefaultsToStaying() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        dlg->groupFile().store.groupFilePath = dir.file("borta/Grupp.z08");
        desk.messages.answers = {MsgAnswer::Ok, MsgAnswer::No};
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QCOMPARE(qs(desk.messages.shown.at(1)), qs(LoadString(StringId::ExitWithoutSaving)));
        QVERIFY(desk.messages.defaults.at(1) == MsgAnswer::No);
        QVERIFY(dlg->isVisible());
    }

    void textsFromTheFileReadAsStored() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("hol"));
        auto* ok = control<QPushButton>(dlg.get(), ReportsCtl::EnterReport);
        auto* mail = control<QPushButton>(dlg.get(), ReportsCtl::SendReminder);
        QCOMPARE(shownCaption(ok->text()), QStringLiteral("För in - Tom & Jerry Holm"));
        QCOMPARE(shownCaption(mail->text()), QStringLiteral("E-mail - tom&jerry@example.se"));
        QCOMPARE(accessibleName(mail), QStringLiteral("E-mail - tom&jerry@example.se"));
        // A line break in a name or an address is spelled out.
        QCOMPARE(ReadableText(QStringLiteral("a\r\nb\tc\x1b")),
                 QStringLiteral("a[CR][LF]b[TAB]c[U+001B]"));
        SetButtonText(mail, QStringLiteral("E-mail - x@y.se\r\n"));
        QCOMPARE(shownCaption(mail->text()), QStringLiteral("E-mail - x@y.se[CR][LF]"));
        // The entry dialog names the publisher as stored.
        catchModal();
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Return);
        QTRY_COMPARE(nextModal, QStringLiteral("Tom & Jerry Holm"));
    }

    void longNamesAreShortenedInTheMiddleYetReadInFull() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        dlg->publisherListBox()->setCurrentRow(2);
        auto* ok = control<QPushButton>(dlg.get(), ReportsCtl::EnterReport);
        const QString full = QStringLiteral("För in - Karl-Gustav Mårten A Östergren-Wallenius");
        const QString shown = shownCaption(ok->text());
        QVERIFY(shown == full ||
                (shown.startsWith(QStringLiteral("För in - K")) && shown.contains(QChar(0x2026)) &&
                 shown.endsWith(QStringLiteral("nius"))));
        QCOMPARE(accessibleName(ok), full);
        if (shown != full) {
            QCOMPARE(ok->toolTip(), full);
        }
    }

    void everyControlHasAnAccessibleName() {
        Desk desk;
        auto dlg = desk.open(groupPath());
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("and"));
        CReportEntryDlg entry(dlg->entryContext(), 1, dlg.get());
        entry.show();
        CAboutDlg about(dlg.get());
        about.show();
        for (QWidget* window : {static_cast<QWidget*>(dlg.get()), static_cast<QWidget*>(&entry),
                                static_cast<QWidget*>(&about)}) {
            for (QWidget* w : window->findChildren<QWidget*>()) {
                if (w->isVisibleTo(window) && w->focusPolicy() != Qt::NoFocus &&
                    w->isWindow() == false && !w->objectName().isEmpty() &&
                    !w->objectName().startsWith(QLatin1String("qt_"))) {
                    QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(w->objectName()));
                }
            }
        }
        QCOMPARE(accessibleName(control(&entry, ReportEntryCtl::Hours)), QStringLiteral("Timmar"));
        QCOMPARE(accessibleName(control(&entry, ReportEntryCtl::Remarks)),
                 QStringLiteral("Anteckningar"));
        QCOMPARE(accessibleName(control(dlg.get(), ReportsCtl::PublisherList)), dlg->windowTitle());
        QCOMPARE(accessibleName(control(dlg.get(), ReportsCtl::MissingCount)),
                 QStringLiteral("Utebliven rapport för november = 3"));
        // The list's current line is what a reader announces.
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(dlg->publisherListBox());
        QAccessibleInterface* line = list != nullptr ? list->focusChild() : nullptr;
        QVERIFY(line != nullptr);
        QCOMPARE(line->text(QAccessible::Name), QStringLiteral("Andersson, Lars"));
    }

    void newListUsesTheDateOfItsOwnRun() {
        // Started in December 2015; the new list is loaded in February 2016, when a January
        // list is entered in the new form.
        writeGroup(dir.file("jan.z08"), 0, 4, group());
        Desk desk;
        auto dlg = desk.open(groupPath(), QDate(2015, 12, 20));
        QVERIFY(!dlg->groupFile().store.newFormActive);
        dlg->SetClock([] { return QDate(2016, 2, 10); });
        desk.files.next = qs(dir.file("jan.z08"));
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        QCOMPARE(dlg->groupFile().store.reportMonth, 0);
        QVERIFY(dlg->groupFile().store.newFormActive);
    }
};

QTEST_MAIN(KeysAndTextsTest)
#include "KeysAndTextsTest.moc"
