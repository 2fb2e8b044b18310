// SPDX-License-Identifier: GPL-3.0-or-later
// Real key presses through an X server (Xvfb, the xcb platform, xdotool): the keys whose way in
// only X11 decides, where offscreen tests would only see synthetic events.
#include "GuiTestSupport.h"

#include "ReportEntryDlg.h"
#include "Strings.h"
#include "TemplateReportEntry.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>

using namespace zadw;
using namespace zadw::test;

namespace {

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
    std::unique_ptr<CReportsDlg> openActive(Desk& desk) {
        auto dlg = std::make_unique<CReportsDlg>(desk.services(),
                                                 StartupInfo{groupPath(), QDate(2026, 12, 8)});
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
        writeGroup(dir.file("Grupp.z08"), 10, 4,
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
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&item] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                item = menu->actions().last()->text();
                menu->close();
            }
        });
        poll.start(20);
        QVERIFY(key(keys));
        QTRY_COMPARE(item, QString::fromStdString(LoadString(StringId::AboutMenuItem)));
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

    // Alt-O in the remark editor leaves it for the first field, where the next digit lands.
    void altOInTheRemarkEditorThenADigit() {
        Desk desk;
        auto dlg = openActive(desk);
        QString first, second;
        bool open = false;
        onModal([&](QWidget* modal) {
            key(QStringLiteral("3"));
            key(QStringLiteral("Return"));
            key(QStringLiteral("5"));
            key(QStringLiteral("alt+r"));
            type(QStringLiteral("Sjuk"));
            key(QStringLiteral("alt+o"));
            key(QStringLiteral("7"));
            first = control<QLineEdit>(modal, ReportEntryCtl::BooksOrPublications)->text();
            second = control<QLineEdit>(modal, ReportEntryCtl::BrochuresOrVideos)->text();
            open = modal->isVisible();
            key(QStringLiteral("Escape"));
        });
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_VERIFY(!watch->isActive());
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(open);
        QCOMPARE(first, QStringLiteral("7"));
        QCOMPARE(second, QStringLiteral("5"));
    }
};

QTEST_MAIN(RealKeysTest)
#include "RealKeysTest.moc"
