// SPDX-License-Identifier: GPL-3.0-or-later
// Real key presses through an X server (Xvfb, the xcb platform, xdotool): the keys whose way in
// only X11 decides, where offscreen tests would only see synthetic events.
#include "GuiTestSupport.h"

#include "QtMessageSink.h"
#include "ReportEntryDlg.h"
#include "Strings.h"
#include "TemplateReportEntry.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

using namespace zadw;
using namespace zadw::test;

namespace {

constexpr int kMonth = 10; // the group's report month, November

// Keys as X11 delivers them to the focused window.
bool xkeys(const QStringList& args) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), args);
    const bool ok = xdotool.waitForFinished(5000) && xdotool.exitCode() == 0;
    QApplication::processEvents();
    return ok;
}
bool key(const QString& keys) {
    return xkeys({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20"), keys});
}
bool type(const QString& text) {
    return xkeys({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

QString focusedName() {
    QWidget* w = QApplication::focusWidget();
    return w != nullptr ? w->objectName() : QString();
}
QString fieldText(QWidget* modal, ReportEntryCtl id) {
    return control<QLineEdit>(modal, id)->text();
}

// Real message boxes, so a question is answered by a real key; each box's text and the button
// Enter would press are kept.
class AnsweredBoxes : public QtMessageSink {
public:
    MsgAnswer present(const Message& message) override {
        shown.push_back(message.text);
        return QtMessageSink::present(message);
    }
    std::vector<std::string> shown;
};

} // namespace

class RealKeysTest : public QObject {
    Q_OBJECT

private:
    ScratchDir dir;
    QString groupPath() const { return QString::fromStdString(dir.file("Grupp.z08")); }
    std::unique_ptr<QTimer> watch;
    void onModal(std::function<void(QWidget*)> fn) {
        watch = std::make_unique<QTimer>();
        watch->setInterval(20);
        connect(watch.get(), &QTimer::timeout, this, [this, fn = std::move(fn)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && QApplication::activeWindow() == modal) {
                watch->stop();
                fn(modal);
            }
        });
        watch->start();
    }

    // Without a window manager nobody hands the window the keyboard: it asks for it itself.
    std::unique_ptr<CReportsDlg> openActive(Desk& desk, MessageSink* messages = nullptr) {
        Services services = desk.services();
        if (messages != nullptr) {
            services.messages = messages;
        }
        auto dlg =
            std::make_unique<CReportsDlg>(services, StartupInfo{groupPath(), QDate(2026, 12, 8)});
        dlg->show();
        if (QTest::qWaitForWindowExposed(dlg.get())) {
            dlg->activateWindow();
        }
        if (!QTest::qWaitForWindowActive(dlg.get())) {
            qWarning("main window did not become active");
        }
        return dlg;
    }

private slots:
    void init() {
        writeGroup(dir.file("Grupp.z08"), kMonth, 4,
                   {{"Lars", "Andersson", "", "", "", "", 0}, {"Eva", "Holm", "", "", "", "", 0}});
        QDir::setCurrent(QString::fromStdString(dir.path().string()));
    }
    void cleanup() { watch.reset(); }

    void menuKeysOpenTheContextMenu_data() {
        QTest::addColumn<QString>("keys");
        QTest::newRow("Shift+F10") << "shift+F10";
        QTest::newRow("Menu") << "Menu";
    }
    void menuKeysOpenTheContextMenu() {
        QFETCH(QString, keys);
        Desk desk;
        auto dlg = openActive(desk);
        QString item;
        QString active;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&item, &active] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                item = menu->actions().last()->text();
                active = menu->activeAction() != nullptr ? menu->activeAction()->text() : "-";
                menu->close();
            }
        });
        poll.start(20);
        QVERIFY(key(keys));
        QTRY_COMPARE(item, QString::fromStdString(LoadString(StringId::AboutMenuItem)));
        // It opens on its first command, which a reader then says.
        QCOMPARE(active, QString::fromStdString(LoadString(StringId::MissingReports)));
    }

    // The focus on "Ladda ner ny lista" + Enter opens the chooser, never a report; after another
    // file type the keys are back on the list and "hol" + Enter opens Holm.
    void enterOnTheNewListButtonOpensTheChooser() {
        Desk desk;
        auto dlg = openActive(desk);
        desk.files.next = QString::fromStdString(dir.file("lista.txt"));
        for (int i = 0; i < 12 && focusedName() != QLatin1String("3"); ++i) {
            QVERIFY(key(QStringLiteral("Tab")));
        }
        QCOMPARE(focusedName(), QStringLiteral("3"));
        QString opened;
        onModal([&opened](QWidget* modal) {
            opened = modal->windowTitle();
            key(QStringLiteral("Escape"));
        });
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_COMPARE(desk.files.calls, 1);
        QTest::qWait(100);
        QCOMPARE(opened, QString());
        QCOMPARE(focusedName(), controlName(ReportsCtl::PublisherList));
        QVERIFY(type(QStringLiteral("hol")));
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_COMPARE(opened, QStringLiteral("Eva Holm"));
    }

    // Enter or Alt-O in the remark editor leaves it for the first empty field after the figures,
    // where the next digit lands.
    void leavingTheRemarkThenADigit_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Enter") << "Return";
        QTest::newRow("Alt-O") << "alt+o";
    }
    void leavingTheRemarkThenADigit() {
        QFETCH(QString, way);
        Desk desk;
        auto dlg = openActive(desk);
        QString first, second, hours;
        bool open = false;
        onModal([&](QWidget* modal) {
            key(QStringLiteral("3"));
            key(QStringLiteral("Return"));
            key(QStringLiteral("5"));
            key(QStringLiteral("alt+r"));
            type(QStringLiteral("Sjuk"));
            key(way);
            key(QStringLiteral("7"));
            first = fieldText(modal, ReportEntryCtl::BooksOrPublications);
            second = fieldText(modal, ReportEntryCtl::BrochuresOrVideos);
            hours = fieldText(modal, ReportEntryCtl::Hours);
            open = modal->isVisible();
            key(QStringLiteral("Escape"));
        });
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_VERIFY(!watch->isActive());
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(open);
        QCOMPARE(first, QStringLiteral("3"));
        QCOMPARE(second, QStringLiteral("5"));
        QCOMPARE(hours, QStringLiteral("7"));
    }

    // The keypad's and the Swedish decimal sign: "10,5" is ten and a half hours, "12,0" twelve.
    void decimalCommaInTheHours_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("whole");
        QTest::addColumn<int>("quarter");
        QTest::newRow("10,5") << "10,5" << 10 << 2;
        QTest::newRow("12,0") << "12,0" << 12 << 0;
    }
    void decimalCommaInTheHours() {
        QFETCH(QString, typed);
        QFETCH(int, whole);
        QFETCH(int, quarter);
        Desk desk;
        auto dlg = openActive(desk);
        onModal([&](QWidget*) {
            key(QStringLiteral("Return"));
            key(QStringLiteral("Return"));
            type(typed);
            for (int i = 0; i < 3; ++i) {
                key(QStringLiteral("Return"));
            }
        });
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_VERIFY(!watch->isActive());
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        const GroupRecord& stored = dlg->groupFile().store.record(1);
        QCOMPARE(int(stored.hours[kMonth]), whole);
        QCOMPARE(int(stored.quarterHours[kMonth]), quarter);
    }

    // 105 h from a publisher of 10-17 h asks first; Enter answers No: nothing is stored and the
    // hours are selected for correction.
    void aSlipIsAskedAboutAndEnterKeepsIt() {
        {
            RecordingSink sink;
            GroupStore store(sink);
            store.loadGroupFile(groupPath().toStdString());
            int h = 10;
            for (int m = 4; m < kMonth; ++m, h += 1) {
                store.record(1).hours[m] = static_cast<std::uint8_t>(m == 7 ? 17 : h);
            }
            QVERIFY(store.saveGroupFile(groupPath().toStdString()));
        }
        Desk desk;
        AnsweredBoxes boxes;
        auto dlg = openActive(desk, &boxes);
        QString focus, selected;
        bool open = false, defaultIsNo = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && QApplication::activeWindow() == box) {
                answer.stop();
                defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
                key(QStringLiteral("Return"));
            }
        });
        onModal([&](QWidget* modal) {
            key(QStringLiteral("Return"));
            key(QStringLiteral("Return"));
            type(QStringLiteral("105"));
            answer.start(20);
            for (int i = 0; i < 3; ++i) {
                key(QStringLiteral("Return"));
            }
            QTRY_VERIFY(!answer.isActive());
            // Without a window manager the dialog is not made active again: ask what it holds.
            auto* edit = qobject_cast<QLineEdit*>(modal->focusWidget());
            focus = edit != nullptr ? edit->objectName() : QString();
            selected = edit != nullptr ? edit->selectedText() : QString();
            modal->activateWindow();
            if (!QTest::qWaitForWindowActive(modal)) {
                qWarning("report entry did not become active again");
            }
            open = modal->isVisible();
            key(QStringLiteral("Escape"));
        });
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_VERIFY(!watch->isActive());
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(boxes.shown[0]),
                 QStringLiteral("Timmar: 105 är mycket mer än tidigare månader (högst 17). "
                                "Stämmer det?"));
        QVERIFY(defaultIsNo);
        QVERIFY(open);
        QCOMPARE(focus, controlName(ReportEntryCtl::Hours));
        QCOMPARE(selected, QStringLiteral("105"));
        QCOMPARE(int(dlg->groupFile().store.record(1).hours[kMonth]), 0);
    }

    // Escape in the month list closes the list only: the month and the figures typed stay.
    void escapeInTheMonthListKeepsTheFigures() {
        Desk desk;
        auto dlg = openActive(desk);
        QString first, second, focus, month;
        bool open = false, listShown = true;
        onModal([&](QWidget* modal) {
            key(QStringLiteral("3"));
            key(QStringLiteral("Return"));
            key(QStringLiteral("2"));
            key(QStringLiteral("alt+m"));
            key(QStringLiteral("Up"));
            key(QStringLiteral("Escape"));
            first = fieldText(modal, ReportEntryCtl::BooksOrPublications);
            second = fieldText(modal, ReportEntryCtl::BrochuresOrVideos);
            focus = focusedName();
            month = control<QLabel>(modal, ReportEntryCtl::MonthName)->text();
            listShown = control(modal, ReportEntryCtl::MonthList)->isVisible();
            open = modal->isVisible();
            key(QStringLiteral("Escape"));
        });
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_VERIFY(!watch->isActive());
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(open);
        QVERIFY(!listShown);
        QCOMPARE(month, QStringLiteral("november"));
        QCOMPARE(first, QStringLiteral("3"));
        QCOMPARE(second, QStringLiteral("2"));
        QCOMPARE(focus, controlName(ReportEntryCtl::BrochuresOrVideos));
    }
};

QTEST_MAIN(RealKeysTest)
#include "RealKeysTest.moc"
