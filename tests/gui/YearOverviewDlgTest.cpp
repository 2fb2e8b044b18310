// SPDX-License-Identifier: GPL-3.0-or-later
// "Årsöversikt…" opened from the main window: its rows and marks, the filter, the year card, the
// CSV file, the print on paper, and the year in the report entry and the chase list.
// ZADW_GRAB_DIR=folder keeps the printed PDF and pictures of the English windows to look at.
#include "GuiTestSupport.h"

#include "MissingReportsDlg.h"
#include "PrinterChoice.h"
#include "ReportEntryDlg.h"
#include "Strings.h"
#include "TemplateReportEntry.h"
#include "YearCardDlg.h"
#include "YearChart.h"
#include "YearOverviewDlg.h"

#include <QAccessible>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTreeWidget>
#include <sys/stat.h>

using namespace zadw;
using namespace zadw::test;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// A PDF file stands in for the printer; setup opens nothing and keeps what it was shown.
class PdfPrinterChoice : public QtPrinterChoice {
public:
    QString defaultPdf; // empty: the system has no printer
    bool confirm = true;
    int setups = 0;
    QPageLayout offered;

protected:
    std::unique_ptr<QPrinter> defaultPrinter() override {
        if (defaultPdf.isEmpty()) {
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(defaultPdf);
        return printer;
    }
    bool runSetupDialog(QPrinter& printer, QWidget*) override {
        ++setups;
        offered = printer.pageLayout();
        return confirm;
    }
};

// Each row's cells joined by " | ".
QStringList rows(const QTableWidget* table) {
    QStringList out;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c) {
            cells << table->item(r, c)->text();
        }
        out << cells.join(QStringLiteral(" | "));
    }
    return out;
}

QString accessibleName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

struct Word {
    double pageWidth = 0, pageHeight = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

std::vector<Word> pdfWords(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished();
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpression page(
        QString::fromUtf8(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    const QRegularExpression word(QString::fromUtf8(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> words;
    Word current;
    for (const QString& line : html.split(QLatin1Char('\n'))) {
        if (const auto m = page.match(line); m.hasMatch()) {
            current.pageWidth = m.captured(1).toDouble();
            current.pageHeight = m.captured(2).toDouble();
        } else if (const auto w = word.match(line); w.hasMatch()) {
            Word found = current;
            found.xMin = w.captured(1).toDouble();
            found.yMin = w.captured(2).toDouble();
            found.xMax = w.captured(3).toDouble();
            found.yMax = w.captured(4).toDouble();
            found.text = w.captured(5);
            words.push_back(found);
        }
    }
    return words;
}

void keep(const QString& file, QWidget* window = nullptr) {
    const QString dir = qEnvironmentVariable("ZADW_GRAB_DIR");
    if (dir.isEmpty()) {
        return;
    }
    const QString to = dir + QLatin1Char('/') + QFileInfo(file).fileName();
    QFile::remove(to);
    if (window != nullptr) {
        window->grab().save(to);
    } else {
        QFile::copy(file, to);
    }
}

void report(GroupStore& store, int p, int m, int hours, int quarter = 0, int category = 0) {
    GroupRecord& r = store.record(p);
    r.hours[m] = static_cast<std::uint8_t>(hours);
    r.quarterHours[m] = static_cast<std::uint8_t>(quarter);
    r.monthStatus[m] = static_cast<std::uint8_t>(category);
}

} // namespace

class YearOverviewDlgTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<Desk> desk;
    std::unique_ptr<PdfPrinterChoice> printers;
    std::unique_ptr<CReportsDlg> main;

    std::string groupPath() const { return dir->file("Grupp.z08"); }

    // Runs fn on the next modal dialog; a watch left over from one case never reaches the next.
    std::vector<std::unique_ptr<QTimer>> watches;
    void onModal(std::function<void(QWidget*)> fn) {
        auto& watch = watches.emplace_back(std::make_unique<QTimer>());
        watch->setInterval(10);
        QTimer* timer = watch.get();
        connect(timer, &QTimer::timeout, this, [timer, fn = std::move(fn)] {
            if (QWidget* modal = QApplication::activeModalWidget();
                modal != nullptr && modal->isActiveWindow()) {
                timer->stop();
                fn(modal);
            }
        });
        timer->start();
    }

    // November 2026. Andersson reported June to November, October late: regular. Berg, a
    // regular pioneer in November, reported May to October (60 and 50½ hours since September)
    // and not yet November: still regular. Ek reported November alone and was ill in September:
    // irregular. Lind never reported: inactive.
    void open() {
        writeGroup(groupPath(), 10, 4,
                   {{"Lars", "Andersson", "08-1", "", "", "", 0},
                    {"Anna", "Berg", "08-2", "", "", "anna@example.se", 0},
                    {"Åsa", "Ek", "", "", "", "", 0},
                    {"Per", "Lind", "08-4", "", "", "", 0}});
        RecordingSink sink;
        GroupStore store(sink);
        QVERIFY(store.loadGroupFile(groupPath()));
        for (int m = 5; m <= 10; ++m) {
            report(store, 1, m, 10);
        }
        store.setLateFlag(1, 9);
        for (int m = 4; m <= 9; ++m) {
            report(store, 2, m, 40);
        }
        report(store, 2, 8, 60, 0, 2);
        report(store, 2, 9, 50, 2, 2);
        report(store, 2, 10, 0, 0, 2);
        report(store, 3, 10, 7, 3);
        std::string old;
        QVERIFY(store.setRemark(3, 8, store.getRemark(3, 8, old, false), "sjuk"));
        QVERIFY(store.saveGroupFile(groupPath()));
        ::chmod(groupPath().c_str(), 0640);

        Services s = desk->services();
        s.printer = printers.get();
        main = std::make_unique<CReportsDlg>(s, StartupInfo{qs(groupPath()), QDate(2026, 12, 8)});
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }

    // Opens the overview with its key, runs check and closes it with Escape.
    void withOverview(const std::function<void(CYearOverviewDlg&)>& check) {
        bool ran = false;
        onModal([&](QWidget* modal) {
            auto* dlg = qobject_cast<CYearOverviewDlg*>(modal);
            ran = dlg != nullptr;
            if (ran) {
                check(*dlg);
            }
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        // The key reaches the window's shortcuts only while it is active; the offscreen desktop
        // does not give it back by itself when a dialog closes.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTest::keyClick(main.get(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_VERIFY(ran);
        QCOMPARE(main->focusWidget(), main->publisherListBox());
    }

private slots:
    void init() {
        dir = std::make_unique<ScratchDir>();
        desk = std::make_unique<Desk>();
        printers = std::make_unique<PdfPrinterChoice>();
    }
    void cleanup() {
        watches.clear();
        main.reset();
        SetLanguage(kSwedish);
    }

    void rowsShowTheYearWithItsMarksAndTheGoalFromTheProfile() {
        desk->profile.values[QStringLiteral("Year/RegularPioneerGoal")] = QStringLiteral("840");
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            QCOMPARE(dlg.windowTitle(), QString::fromUtf8("Årsöversikt – Grupp 4"));
            const QStringList expected = {
                QString::fromUtf8("Andersson, Lars | regelbunden |  |  |  |  |  |  | 10 | 10 | "
                                  "10 | 10 | 10 (sen) | 10 | 30"),
                QString::fromUtf8("Berg, Anna | regelbunden |  |  |  |  |  | 40 | 40 | 40 | 40 | "
                                  "60 | 50½ |  | 110½ / 840"),
                QString::fromUtf8("Ek, Åsa | oregelbunden |  |  |  |  |  |  |  |  |  | (anm.) | "
                                  " | 7¾ | 7¾"),
                QString::fromUtf8("Lind, Per | inaktiv |  |  |  |  |  |  |  |  |  |  |  |  | 0"),
            };
            QCOMPARE(rows(dlg.table()), expected);
            QCOMPARE(dlg.table()->horizontalHeaderItem(2)->text(), QStringLiteral("dec\n2025"));
            QCOMPARE(dlg.table()->horizontalHeaderItem(14)->text(),
                     QString::fromUtf8("Tjänsteåret 2027"));
            // The remark behind the mark.
            QCOMPARE(dlg.table()->item(2, 11)->toolTip(), QStringLiteral("sjuk"));
            QCOMPARE(dlg.focusWidget(), dlg.table());
        });
        QVERIFY(desk->messages.shown.empty());
    }

    void theFilterKeepsTheIrregularAndInactive() {
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            dlg.table()->setCurrentCell(2, 0);                        // Ek
            QTest::keyClick(dlg.table(), Qt::Key_O, Qt::AltModifier); // clicks once it has shown
            QTRY_VERIFY(control<QCheckBox>(&dlg, YearOverviewCtl::IrregularOnly)->isChecked());
            QCOMPARE(dlg.shownPublishers(), (std::vector<int>{3, 4}));
            QCOMPARE(dlg.table()->currentRow(), 0); // still Ek
            control<QCheckBox>(&dlg, YearOverviewCtl::IrregularOnly)->setChecked(false);
            QCOMPARE(dlg.shownPublishers(), (std::vector<int>{1, 2, 3, 4}));
            QCOMPARE(dlg.table()->currentRow(), 2);
        });
    }

    void enterOpensTheCardAReaderReadsAsATable() {
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            dlg.table()->setCurrentCell(1, 0); // Berg
            bool ran = false;
            onModal([&](QWidget* modal) {
                auto* card = qobject_cast<CYearCardDlg*>(modal);
                ran = card != nullptr;
                if (ran) {
                    QTableWidget* t = card->table();
                    QCOMPARE(card->focusWidget(), t);
                    QCOMPARE(t->rowCount(), 12);
                    QCOMPARE(t->verticalHeaderItem(10)->text(), QStringLiteral("oktober 2026"));
                    QCOMPARE(t->horizontalHeaderItem(0)->text(), QStringLiteral("Kategori"));
                    QCOMPARE(t->item(10, 0)->text(), QString::fromUtf8("Reguljär pionjär"));
                    QCOMPARE(t->item(10, 3)->text(), QString::fromUtf8("50½"));
                    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(t);
                    QVERIFY(iface != nullptr && iface->tableInterface() != nullptr);
                    QCOMPARE(iface->tableInterface()->rowCount(), 12);
                    QCOMPARE(iface->text(QAccessible::Name),
                             QString::fromUtf8("Berg, Anna – Årsöversikt"));
                }
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            QTest::keyClick(dlg.table(), Qt::Key_Return);
            QTRY_VERIFY(ran);
            QCOMPARE(dlg.focusWidget(), dlg.table());
            QCOMPARE(QApplication::activeModalWidget(), &dlg);
        });
    }

    void everyControlHasAnAccessibleName() {
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            for (QWidget* w : dlg.findChildren<QWidget*>()) {
                if (w->isVisibleTo(&dlg) && w->focusPolicy() != Qt::NoFocus &&
                    !w->objectName().isEmpty() &&
                    !w->objectName().startsWith(QLatin1String("qt_"))) {
                    QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(w->objectName()));
                }
            }
            QCOMPARE(accessibleName(control(&dlg, YearOverviewCtl::SaveCsv)),
                     QString::fromUtf8("Spara som CSV…"));
            // The chart's figures are its description.
            QVERIFY(dlg.chart()->accessibleDescription().startsWith(
                QString::fromUtf8("dec 2025: Rapporterat 0, Timmar 0; jan 2026")));
            QVERIFY(dlg.chart()->accessibleDescription().endsWith(
                QString::fromUtf8("nov 2026: Rapporterat 2, Timmar 17¾")));
        });
    }

    void csvGoesWhereChosenNoMoreReadableThanTheGroup() {
        open();
        const QString csv = qs(dir->file("år.csv"));
        desk->files.nextSave = csv;
        withOverview([&](CYearOverviewDlg& dlg) {
            control<QCheckBox>(&dlg, YearOverviewCtl::IrregularOnly)->setChecked(true);
            QTest::mouseClick(control<QPushButton>(&dlg, YearOverviewCtl::SaveCsv), Qt::LeftButton);
            QCOMPARE(dlg.focusWidget(), dlg.table());
        });
        QCOMPARE(desk->files.lastSaveOffer,
                 qs(dir->path().string()) + QString::fromUtf8("/Årsöversikt Grupp 4 2026-11.csv"));
        QCOMPARE(desk->messages.shown,
                 std::vector<std::string>{"Årsöversikten har sparats i\n" + csv.toStdString()});
        const std::string bytes = readFile(csv.toStdString());
        QCOMPARE(bytes.substr(0, 3), std::string("\xEF\xBB\xBF"));
        QVERIFY(bytes.find("Namn;Regelbundenhet;dec 2025;") != std::string::npos);
        QVERIFY(bytes.find("\r\nEk, Åsa;oregelbunden;;;;;;;;;;(anm.);;7,75;7,75;\r\n") !=
                std::string::npos);
        QVERIFY(bytes.find("Andersson") == std::string::npos); // the filter was on
        struct stat st {};
        QCOMPARE(::stat(csv.toLocal8Bit().constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0640u);
    }

    void csvIsNotWrittenThroughALink() {
        open();
        const std::string target = dir->file("target.txt");
        writeFile(target, "kept");
        const std::string link = dir->file("link.csv");
        QCOMPARE(::symlink(target.c_str(), link.c_str()), 0);
        desk->files.nextSave = qs(link);
        withOverview([&](CYearOverviewDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, YearOverviewCtl::SaveCsv), Qt::LeftButton);
        });
        QCOMPARE(readFile(target), std::string("kept"));
        QCOMPARE(desk->messages.shown,
                 std::vector<std::string>{link + " är inte en vanlig fil (symbolisk länk) och "
                                                 "skrivs inte över."});
    }

    void printsOnLandscapePaperInsideItsEdges() {
        const QString pdf = qs(dir->file("year.pdf"));
        printers->defaultPdf = pdf;
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, YearOverviewCtl::Print), Qt::LeftButton);
        });
        keep(pdf);
        QCOMPARE(printers->setups, 1);
        QCOMPARE(printers->offered.orientation(), QPageLayout::Landscape);
        QCOMPARE(printers->offered.pageSize().id(), QPageSize::A4);
        // The summary list keeps the paper it had.
        QCOMPARE(printers->printer()->pageLayout().orientation(), QPageLayout::Portrait);
        QVERIFY(desk->messages.shown.empty());
        const std::vector<Word> words = pdfWords(pdf);
        QVERIFY(!words.empty());
        QStringList texts;
        for (const Word& w : words) {
            QVERIFY2(w.pageWidth > w.pageHeight, "not landscape");
            QVERIFY2(w.xMin >= 0 && w.yMin >= 0 && w.xMax <= w.pageWidth && w.yMax <= w.pageHeight,
                     qPrintable(w.text));
            texts << w.text;
        }
        for (const char* t : {"Årsöversikt", "Andersson,", "oregelbunden", "110½", "600",
                              "Rapporterat", "Timmar", "(sen)", "(anm.)"}) {
            QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
        }
    }

    void aCancelledSetupPrintsNothing() {
        const QString pdf = qs(dir->file("year.pdf"));
        printers->defaultPdf = pdf;
        printers->confirm = false;
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, YearOverviewCtl::Print), Qt::LeftButton);
            QCOMPARE(dlg.focusWidget(), dlg.table());
        });
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(printers->printer()->pageLayout().orientation(), QPageLayout::Portrait);
    }

    void withoutAPrinterItSaysSoAndOffersAFile() {
        open();
        printers->confirm = false;
        withOverview([&](CYearOverviewDlg& dlg) {
            QTest::mouseClick(control<QPushButton>(&dlg, YearOverviewCtl::Print), Qt::LeftButton);
        });
        QCOMPARE(desk->messages.shown, std::vector<std::string>{"No Printer"});
        QCOMPARE(printers->setups, 1);
    }

    void aBadGoalIsSaidOnceAndTheUsualOneUsed() {
        desk->profile.values[QStringLiteral("Year/RegularPioneerGoal")] = QStringLiteral("many");
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            QVERIFY(dlg.table()->item(1, 14)->text().endsWith(QStringLiteral(" / 600")));
        });
        withOverview([](CYearOverviewDlg&) {});
        QCOMPARE(desk->messages.shown,
                 std::vector<std::string>{
                     "Okänt värde för RegularPioneerGoal under [Year] i /profile/zadw.ini. "
                     "Tillåtna värden är heltal från 1 till 9999; 600 används."});
    }

    void englishTexts() {
        QVERIFY(SetLanguage("en"));
        open();
        withOverview([&](CYearOverviewDlg& dlg) {
            QCOMPARE(dlg.windowTitle(), QString::fromUtf8("Year overview – Group 4"));
            QCOMPARE(dlg.table()->horizontalHeaderItem(1)->text(), QStringLiteral("Regularity"));
            QCOMPARE(dlg.table()->horizontalHeaderItem(14)->text(),
                     QStringLiteral("Service year 2027"));
            QCOMPARE(dlg.table()->item(2, 1)->text(), QStringLiteral("irregular"));
            QCOMPARE(dlg.table()->item(2, 11)->text(), QStringLiteral("(remark)"));
            QCOMPARE(control<QPushButton>(&dlg, YearOverviewCtl::Print)->text(),
                     QString::fromUtf8("&Print…"));
            keep(QStringLiteral("year-overview-en.png"), &dlg);
        });
    }

    void theContextMenuNamesTheCommandAndItsKey() {
        open();
        QString text;
        QString key;
        QTimer::singleShot(50, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                const QAction* second = menu->actions().value(1);
                text = second->text();
                key = second->shortcut().toString();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10),
                                main->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(main.get(), &event);
        QTRY_COMPARE(text, QString::fromUtf8("Årsöversikt…"));
        QCOMPARE(key, QStringLiteral("Ctrl+Y"));
    }

    // The report entry's line below the warning panel follows the hours typed.
    void theReportEntryShowsThePublishersYear() {
        desk->profile.values[QStringLiteral("Year/RegularPioneerGoal")] = QStringLiteral("840");
        open();
        {
            CReportEntryDlg entry(main->entryContext(), 2, main.get());
            entry.show();
            auto* line = control<QLabel>(&entry, ReportEntryCtl::YearLine);
            QCOMPARE(line->text(), QString::fromUtf8("Regelbundenhet: regelbunden. Tjänsteåret "
                                                     "2027: 110½ + 0 = 110½ / 840"));
            control<QLineEdit>(&entry, ReportEntryCtl::Hours)->setText(QStringLiteral("12.5"));
            QCOMPARE(line->text(), QString::fromUtf8("Regelbundenhet: regelbunden. Tjänsteåret "
                                                     "2027: 110½ + 12½ = 123 / 840"));
            QVERIFY(line->geometry().top() >=
                    control(&entry, ReportEntryCtl::Warning)->geometry().bottom());
        }
        CReportEntryDlg entry(main->entryContext(), 4, main.get());
        entry.show();
        QCOMPARE(control<QLabel>(&entry, ReportEntryCtl::YearLine)->text(),
                 QStringLiteral("Regelbundenhet: inaktiv"));
    }

    void theChaseListShowsEachMissingPublishersRegularity() {
        open();
        bool ran = false;
        onModal([&](QWidget* modal) {
            auto* dlg = qobject_cast<CMissingReportsDlg*>(modal);
            ran = dlg != nullptr;
            if (ran) {
                QTreeWidget* list = dlg->lineList();
                QCOMPARE(list->headerItem()->text(4), QStringLiteral("Regelbundenhet"));
                QStringList lines;
                // The missing section: up to the next heading (the late reports follow).
                for (int i = 1; i < list->topLevelItemCount() &&
                                !list->topLevelItem(i)->isFirstColumnSpanned();
                     ++i) {
                    lines << list->topLevelItem(i)->text(0) + QStringLiteral(": ") +
                                 list->topLevelItem(i)->text(4);
                }
                QCOMPARE(lines, (QStringList{QStringLiteral("Berg, Anna: regelbunden"),
                                             QStringLiteral("Lind, Per: inaktiv")}));
            }
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::keyClick(main.get(), Qt::Key_M, Qt::ControlModifier);
        QTRY_VERIFY(ran);
    }
};

QTEST_MAIN(YearOverviewDlgTest)
#include "YearOverviewDlgTest.moc"
