// SPDX-License-Identifier: GPL-3.0-or-later
// zadw on Wayland, under weston's headless backend (tests/gui/under-weston starts it): the window
// starts, a report typed into it reaches the file, and a second start hands the file over to it.
#include "GuiTestSupport.h"

#include "GroupFileLocks.h"

#include <QListWidget>
#include <QProcess>

using namespace zadw;
using namespace zadw::test;

namespace {

constexpr int kReportMonth = 10;

// The publications of the first publisher in the report month, as the file on disk has them.
int publicationsInFile(const std::string& path) {
    RecordingSink sink;
    GroupStore store(sink);
    store.loadGroupFile(path);
    return store.publisherCount >= 1
               ? int(store.getNewFormValue(1, kReportMonth, NewFormValue::Publications))
               : -1;
}

} // namespace

class WaylandSmokeTest : public QObject {
    Q_OBJECT

    ScratchDir dir;

private slots:
    void startsStoresAndHandsOver() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        const std::string path = dir.file("Grupp.z08");
        writeGroup(path, kReportMonth, 4,
                   {{"Lars", "Andersson", "", "", "", "", 0}, {"Eva", "Holm", "", "", "", "", 0}});
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.file("data")));

        Desk desk;
        GroupFileLocks locks;
        Services services = desk.services();
        services.locks = &locks;
        CReportsDlg window(services,
                           StartupInfo{QString::fromStdString(path), QDate(2026, 12, 8), {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.publisherListBox()->count(), 2);

        // A report typed in the usual way is on disk at once.
        bool typed = false;
        whenModalOpens([&typed](QWidget* modal) {
            QTest::keyClicks(modal->focusWidget(), QStringLiteral("7"));
            for (int i = 0; i < 5 && modal->isVisible(); ++i) {
                QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
            }
            typed = !modal->isVisible();
        });
        QTest::keyClick(window.publisherListBox(), Qt::Key_Return);
        QVERIFY(typed);
        QCOMPARE(publicationsInFile(path), 7);

        // A second start on the same file hands it to this window and ends.
        bool handedOver = false;
        const std::function<void()> bringToFront = locks.onHandOver;
        locks.onHandOver = [&] {
            handedOver = true;
            bringToFront();
        };
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QString::fromStdString(dir.file("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.file("config")));
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(ZADW_BINARY), {QString::fromStdString(path)});
        QVERIFY(second.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(handedOver);
        QCOMPARE(publicationsInFile(path), 7);
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(WaylandSmokeTest)
#include "WaylandSmokeTest.moc"
