// SPDX-License-Identifier: GPL-3.0-or-later
// Every window at the desktop's font sizes, from 8 to 18 points, on a screen of 1920 × 1080:
// each fits the screen, shows every text whole, and what cannot be whole scrolls or is shortened
// with the whole text in its tooltip. ZADW_GRAB_DIR=folder saves pictures of them.
#include "GuiTestSupport.h"

#include "AboutDlg.h"
#include "MissingReportsDlg.h"
#include "QtMessageSink.h"
#include "ReportEntryDlg.h"
#include "SummaryPreviewDlg.h"

#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace zadw;
using namespace zadw::test;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<PublisherSpec> group() {
    return {
        {"Lars", "Andersson", "08-123 45 67", "", "", "lars@example.se", 0},
        {"Tom & Jerry", "Holm", "070-111 22 33", "08-765 43 21", "", "tom&jerry@example.se", 0},
        {"Karl-Gustav Mårten A", "Östergren-Wallenius", "0701-23 45 67", "", "",
         "karl-gustav.ostergren-wallenius@forsamlingen.example.org", 0},
        {"Åsa", "Åkesson", "", "", "", "", 6},
    };
}

// The window, frame and title included, inside the screen's free area.
QString outsideTheScreen(QWidget* window) {
    const QRect room = window->screen()->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    if (frame.width() <= room.width() && frame.height() <= room.height()) {
        return {};
    }
    return QStringLiteral("%1: %2x%3 on %4x%5")
        .arg(window->metaObject()->className())
        .arg(frame.width())
        .arg(frame.height())
        .arg(room.width())
        .arg(room.height());
}

void grabIfAsked(QWidget* window, const QString& name) {
    const QString dir = qEnvironmentVariable("ZADW_GRAB_DIR");
    if (!dir.isEmpty()) {
        window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

bool shown(QWidget* window) {
    window->show();
    return QTest::qWaitForWindowExposed(window);
}

} // namespace

class LargeTextTest : public QObject {
    Q_OBJECT

    ScratchDir dir;
    QFont before_;

private slots:
    void init() {
        writeGroup(dir.file("Grupp.z08"), 10, 4, group());
        before_ = QApplication::font();
    }
    void cleanup() { QApplication::setFont(before_); }

    void everyWindowFitsAndShowsItsTexts_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        for (const int points : {8, 9, 10, 11, 14, 18}) {
            QTest::addRow("DejaVu Sans %d", points) << "DejaVu Sans" << points;
        }
        QTest::newRow("Liberation Sans 9") << "Liberation Sans" << 9;
    }
    void everyWindowFitsAndShowsItsTexts() {
        QFETCH(QString, family);
        QFETCH(int, points);
        QApplication::setFont(QFont(family, points));
        const QString at = QStringLiteral("-%1pt").arg(points);
        Desk desk;
        desk.profile.values[QStringLiteral("Last/Post")] =
            QStringLiteral("Karl-Gustav Mårten A Östergren-Wallenius");
        auto dlg = desk.open(qs(dir.file("Grupp.z08")));
        QTest::keyClicks(dlg->publisherListBox(), QStringLiteral("hol"));
        // Every status line shown, each inside the status frame.
        dlg->groupFile().store.record(3).remarkSlot[10] = 1;
        dlg->UpdateStatus();
        QCOMPARE(outsideTheScreen(dlg.get()), QString());
        QCOMPARE(firstClipped(dlg.get()), QString());
        grabIfAsked(dlg.get(), QStringLiteral("main") + at);
        const QRect frame = control(dlg.get(), ReportsCtl::StatusFrame)->geometry();
        for (const ReportsCtl id : {ReportsCtl::PublisherCount, ReportsCtl::MissingCount,
                                    ReportsCtl::RemarkOnlyCount, ReportsCtl::UnreportedOnly}) {
            QVERIFY(control(dlg.get(), id)->isVisible());
            QVERIFY(frame.contains(control(dlg.get(), id)->geometry()));
        }
        QVERIFY(frame.bottom() < control(dlg.get(), ReportsCtl::EnterReport)->geometry().top());
        // List rows hold the ring of Å.
        QListWidget* list = dlg->publisherListBox();
        const QRect row = list->visualItemRect(list->item(3));
        QVERIFY(row.height() >=
                QFontMetrics(list->font()).boundingRect(QStringLiteral("Å")).height() + 2);

        GroupStore& store = dlg->groupFile().store;
        {
            CReportEntryDlg entry(dlg->entryContext(), 3, dlg.get());
            QVERIFY(shown(&entry));
            QCOMPARE(outsideTheScreen(&entry), QString());
            QCOMPARE(firstClipped(&entry), QString());
            grabIfAsked(&entry, QStringLiteral("entry") + at);
        }
        {
            CSummaryPreviewDlg preview(store, desk.messages, nullptr, store.reportMonth, dlg.get());
            QVERIFY(shown(&preview));
            QCOMPARE(outsideTheScreen(&preview), QString());
            QCOMPARE(firstClipped(&preview), QString());
            grabIfAsked(&preview, QStringLiteral("preview") + at);
        }
        {
            CAboutDlg about(dlg.get());
            QVERIFY(shown(&about));
            QCOMPARE(firstClipped(&about), QString());
        }
        {
            CMissingReportsDlg chase(store, desk.services(), dlg.get());
            QVERIFY(shown(&chase));
            QCOMPARE(outsideTheScreen(&chase), QString());
            QCOMPARE(firstClipped(&chase), QString());
            grabIfAsked(&chase, QStringLiteral("chase") + at);
            // Every column fits its widest text on this screen.
            QTreeWidget* lines = chase.lineList();
            for (int r = 0; r < lines->topLevelItemCount(); ++r) {
                for (int c = 0; c < lines->columnCount(); ++c) {
                    QCOMPARE(lines->topLevelItem(r)->toolTip(c), QString());
                }
            }
            // Narrowed by hand, the columns share the room, and a text cut short is whole in
            // its tooltip.
            chase.resize(chase.minimumSizeHint().width(), chase.height());
            QTest::qWait(0);
            int used = 0;
            for (int c = 0; c < lines->columnCount(); ++c) {
                used += lines->isColumnHidden(c) ? 0 : lines->header()->sectionSize(c);
            }
            QVERIFY(used <= lines->viewport()->width());
            bool anyCut = false;
            for (int r = 0; r < lines->topLevelItemCount(); ++r) {
                QTreeWidgetItem* item = lines->topLevelItem(r);
                for (int c = 0; c < lines->columnCount(); ++c) {
                    const QString tip = item->toolTip(c);
                    QVERIFY(tip.isEmpty() || tip == item->text(c));
                    const bool fits =
                        lines->sizeHintForIndex(lines->model()->index(r, c)).width() <=
                        lines->header()->sectionSize(c);
                    QCOMPARE(tip.isEmpty(), fits || item->isFirstColumnSpanned());
                    anyCut = anyCut || !tip.isEmpty();
                }
            }
            QVERIFY(anyCut);
        }

        // The tips: at any size inside the screen, scrolling where they are taller than it.
        dlg->ShowTips();
        const std::string tips = desk.messages.shown.back();
        const auto box = QtMessageSink::makeBox(
            Message{tips, MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok, {}}, dlg.get());
        QVERIFY(shown(box.get()));
        QCOMPARE(outsideTheScreen(box.get()), QString());
        grabIfAsked(box.get(), QStringLiteral("tips") + at);
        if (points == 18) {
            auto* text = box->findChild<QPlainTextEdit*>();
            QVERIFY(text != nullptr);
            QCOMPARE(text->toPlainText(), qs(tips));
            QVERIFY(text->verticalScrollBar()->maximum() > 0);
            QCOMPARE(box->focusWidget(), text);
        }
    }
};

int main(int argc, char** argv) {
    // A full-HD screen: the offscreen platform's own is 800 × 600.
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    QFile out(config);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(R"({"screens": [{"name": "fullhd", "x": 0, "y": 0, "width": 1920,
                       "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
        return 2;
    }
    out.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    LargeTextTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "LargeTextTest.moc"
