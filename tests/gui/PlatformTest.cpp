// SPDX-License-Identifier: GPL-3.0-or-later
// The settings profile and the About box reached from the main window's context menu.
#include "GuiTestSupport.h"

#include "AboutDlg.h"
#include "TemplateAbout.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <unistd.h>

using namespace zadw;
using namespace zadw::test;

class PlatformTest : public QObject {
    Q_OBJECT

private:
    ScratchDir dir;
    QString path(const char* name) { return QString::fromStdString(dir.file(name)); }

private slots:
    // The user's configuration, unless a profile already stands beside the program; a writable
    // program folder alone never gets one.
    void profileStandsBesideTheProgramOnlyWhenThere() {
        const QString config =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/zadw/zadw.ini");
        QCOMPARE(profilePathFor(path("zadw")), config);
        QCOMPARE(profilePathFor(QStringLiteral("/nonexistent/folder/zadw")), config);
        test::writeFile(dir.file("zadw.ini"), "");
        test::writeFile(dir.file("report.ini"), "");
        QCOMPARE(profilePathFor(path("zadw")), path("zadw.ini"));
        QCOMPARE(profilePathFor(path("report.exe")), path("report.ini"));
        // Not through a link someone put beside it.
        QVERIFY(QFile::remove(path("zadw.ini")));
        QCOMPARE(::symlink(dir.file("report.ini").c_str(), dir.file("zadw.ini").c_str()), 0);
        QCOMPARE(profilePathFor(path("zadw")), config);
        qputenv("ZADW_PROFILE", "/build/zadw.ini");
        QCOMPARE(profilePathFor(path("report.exe")), QStringLiteral("/build/zadw.ini"));
        qunsetenv("ZADW_PROFILE");
    }

    void iniProfileKeepsEmptyValuesAndReportsFailures() {
        IniProfile profile(path("zadw.ini"));
        QCOMPARE(profile.readString("Last", "LoadPath", "standard"), QStringLiteral("standard"));
        QVERIFY(profile.writeString("Last", "LoadPath", "/grupper/Grupp å.z08"));
        QVERIFY(profile.writeString("Last", "Post", QString()));
        IniProfile again(path("zadw.ini"));
        QCOMPARE(again.readString("Last", "LoadPath", ""), QStringLiteral("/grupper/Grupp å.z08"));
        QCOMPARE(again.readString("Last", "Post", "saknas"), QString());
        QVERIFY(test::readFile(dir.file("zadw.ini")).find("[Last]") != std::string::npos);

        test::writeFile(dir.file("fil"), "x");
        IniProfile broken(path("fil") + QStringLiteral("/zadw.ini"));
        QVERIFY(!broken.writeString("Last", "Post", "Anna Berg"));

        // A profile full of garbage is still written, and that is no failure to report.
        test::writeFile(dir.file("skrap.ini"),
                        std::string("\x01[[[\n=\xff\xfe\n[Last\nLoadPath\n", 22));
        IniProfile garbage(path("skrap.ini"));
        QVERIFY(garbage.writeString("Last", "Post", "Anna Berg"));
        QCOMPARE(IniProfile(path("skrap.ini")).readString("Last", "Post", ""),
                 QStringLiteral("Anna Berg"));
    }

    void aboutComesFromTheContextMenu() {
        Desk desk;
        auto dlg = desk.open(QString());
        QString aboutCaption;
        QString menuText;
        whenModalOpens([&](QWidget* modal) {
            aboutCaption = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTimer::singleShot(50, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                const auto actions = menu->actions();
                for (QAction* a : actions) {
                    if (!a->isSeparator()) {
                        menuText = a->text();
                        a->trigger();
                        menu->close();
                        break;
                    }
                }
            }
        });
        // Shift+F10 and the Menu key arrive as a keyboard context-menu event.
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10),
                                dlg->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(dlg.get(), &event);
        QTRY_COMPARE(aboutCaption, QStringLiteral("About Zadw"));
        QCOMPARE(menuText, QStringLiteral("&About Zadw..."));
        QVERIFY(dlg->isVisible());
    }

    // An id the template lacks, or a control of another type, is a program error: a release
    // build logs it and hands out a hidden stand-in rather than a null the caller would crash on.
    void aControlTheTemplateLacksIsLoggedAndStoodIn() {
#ifndef NDEBUG
        QSKIP("a debug build stops on the assertion instead");
#else
        CAboutDlg about;
        about.show();
        const auto logged = [](const char* type, int id) {
            QTest::ignoreMessage(
                QtCriticalMsg,
                QRegularExpression(QStringLiteral("CAboutDlg has no %1 with control id %2$")
                                       .arg(QLatin1String(type))
                                       .arg(id)));
        };
        logged("QLineEdit", 1);
        auto* edit = control<QLineEdit>(&about, AboutCtl::Ok);
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->parentWidget(), &about);
        QVERIFY(!edit->isVisible());
        edit->setText(QStringLiteral("harmless"));
        logged("QLineEdit", 1);
        QCOMPARE(control<QLineEdit>(&about, AboutCtl::Ok), edit); // one stand-in, logged again

        logged("QWidget", 999);
        QWidget* typo = control(&about, static_cast<AboutCtl>(999));
        QVERIFY(typo != nullptr && typo != edit && !typo->isVisible());

        QCOMPARE(control<QPushButton>(&about, AboutCtl::Ok)->text(), QStringLiteral("OK"));
#endif
    }
};

QTEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
