// SPDX-License-Identifier: GPL-3.0-or-later
// The summary preview, opened from the main window and driven through its buttons.
#include "GuiTestSupport.h"

#include "PreviewPaging.h"
#include "PreviewPane.h"
#include "PrinterChoice.h"
#include "Strings.h"
#include "SummaryPreviewDlg.h"
#include "TemplateSummaryPreview.h"

#include <QAccessible>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyle>
#include <cmath>
#include <optional>

using namespace zadw;
using namespace zadw::test;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The real choice, with the desktop replaced: a PDF file stands in for a printer, and the setup
// dialog is a function that picks another file (or cancels) without opening anything.
class PdfPrinterChoice : public QtPrinterChoice {
public:
    QString defaultPdf; // empty: the system has no printer
    QString setupPdf;   // what setup picks; empty: setup is cancelled
    int setups = 0;
    QString offeredPdf; // the file the last setup opened on, when it opened on one
    QPageSize setupPaper{QPageSize::A4};
    QPageLayout::Orientation setupOrientation = QPageLayout::Portrait;

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
        offeredPdf =
            printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
        if (setupPdf.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(setupPdf);
        printer.setPageSize(setupPaper);
        printer.setPageOrientation(setupOrientation);
        return true;
    }
};

std::vector<PublisherSpec> numbered(int count) {
    std::vector<PublisherSpec> people;
    for (int p = 1; p <= count; ++p) {
        people.push_back({"Förnamn" + std::to_string(p), "Efternamn" + std::to_string(p),
                          "08-100 00 " + std::to_string(10 + p), "", "", "", p % 7});
    }
    return people;
}

QString pdfInfo(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf) {
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(pdfInfo(pdf));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Numbers of the publishers painted on the pane, from the "Förnamn<p> ..." names.
QList<int> shownOnPane(const CSummaryPreviewDlg& preview) {
    QList<int> shown;
    for (const DrawOp& op : preview.previewPane()->paintedOps()) {
        const QString text = qs(op.text);
        if (op.kind == OpKind::Text && text.startsWith(QStringLiteral("Förnamn"))) {
            shown << text.mid(7).section(QLatin1Char(' '), 0, 0).toInt();
        }
    }
    return shown;
}

QList<int> range(int first, int last) {
    QList<int> out;
    for (int p = first; p <= last; ++p) {
        out << p;
    }
    return out;
}

template <ControlIdEnum E> void click(QWidget* window, E id) {
    QTest::mouseClick(control<QPushButton>(window, id), Qt::LeftButton);
}

QString previewPageText(const CSummaryPreviewDlg& preview) {
    return QStringLiteral("Sida %1 av %2")
        .arg(SummaryPageNumber(preview.summaryPaging()))
        .arg(SummaryPageCount(preview.summaryPaging()));
}

// Fusion with the light palette, or the dark one the issue names; Qt 6.4 ships no dark one.
class PaletteScope {
public:
    explicit PaletteScope(bool dark)
        : style_(QApplication::style()->name()), palette_(QApplication::palette()) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette p = QApplication::style()->standardPalette();
        if (dark) {
            p.setColor(QPalette::Window, QColor(0x353535));
            p.setColor(QPalette::Base, QColor(0x2a2a2a));
            p.setColor(QPalette::Text, Qt::white);
            p.setColor(QPalette::WindowText, Qt::white);
            p.setColor(QPalette::Button, QColor(0x353535));
            p.setColor(QPalette::ButtonText, Qt::white);
        }
        QApplication::setPalette(p);
    }
    ~PaletteScope() {
        QApplication::setStyle(style_);
        QApplication::setPalette(palette_);
    }
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;

private:
    QString style_;
    QPalette palette_;
};

double luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor mostCommonColour(const QImage& image) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++counts[image.pixel(x, y) | 0xFF000000u];
        }
    }
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            best = it.key();
            most = it.value();
        }
    }
    return QColor::fromRgb(best);
}

// The contrast of the strongest ink on the image against its background: the solid ruled lines
// and the letters' stems are drawn in the ink itself.
double contrastOfInk(const QImage& image, const QColor& background) {
    double best = 1.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            best = std::max(best, contrast(QColor::fromRgb(image.pixel(x, y)), background));
        }
    }
    return best;
}

QImage firstPdfPage(const QString& pdf) {
    QProcess process;
    const QString png = pdf + QStringLiteral("-page");
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"),
                   QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                   QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, png});
    process.waitForFinished();
    return QImage(png + QStringLiteral(".png"));
}

void grabIfAsked(QWidget* window, const char* name) {
    const QString dir = qEnvironmentVariable("ZADW_GRAB_DIR");
    if (!dir.isEmpty()) {
        window->grab().save(dir + QLatin1Char('/') + QLatin1String(name));
    }
}

} // namespace

class SummaryPreviewTest : public QObject {
    Q_OBJECT

private:
    ScratchDir dir;
    Desk desk;
    std::unique_ptr<PdfPrinterChoice> printers;
    std::unique_ptr<CReportsDlg> main;

    QString file(const char* name) const { return qs(dir.file(name)); }
    std::string savedAs(const char* name) const {
        return "Sammanställningslistan har sparats som " + dir.file(name) + ".";
    }
    // Printing to a file said only where it went.
    bool onlySaidWhereItWent() const {
        for (const std::string& text : desk.messages.shown) {
            if (text.rfind("Sammanställningslistan har sparats som ", 0) != 0) {
                return false;
            }
        }
        return !desk.messages.shown.empty();
    }

    void openGroup(const QString& path) {
        Services services = desk.services();
        services.printer = printers.get();
        main = std::make_unique<CReportsDlg>(services, StartupInfo{path, QDate(2026, 12, 8), {}});
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }
    void openGroup(int count, int reportMonth = 10) {
        writeGroup(dir.file("Grupp.z08"), reportMonth, 4, numbered(count));
        openGroup(file("Grupp.z08"));
    }

    // Opens the preview with the main window's command, runs check on it and closes it.
    void withPreview(const std::function<void(CSummaryPreviewDlg&)>& check) {
        bool ran = false;
        whenModalOpens([&](QWidget* modal) {
            auto* preview = qobject_cast<CSummaryPreviewDlg*>(modal);
            ran = preview != nullptr && QTest::qWaitForWindowExposed(preview);
            if (ran) {
                check(*preview);
            }
            click(modal, SummaryPreviewCtl::Close); // also after a failed check
        });
        click(main.get(), ReportsCtl::SummaryPreview);
        QVERIFY(ran);
        QCOMPARE(main->focusWidget(), main->publisherListBox());
    }

private slots:
    void init() {
        desk.messages.shown.clear();
        printers = std::make_unique<PdfPrinterChoice>(); // a new run: nothing chosen yet
        QFile::remove(file("a.pdf"));
        QFile::remove(file("b.pdf"));
    }
    void cleanup() { main.reset(); }

    // Each page button keeps its meaning; a button with no page left is disabled in its place
    // and hands the focus to its partner. Page Down and Page Up page as the buttons do.
    void pagesThroughTheGroup_data() {
        QTest::addColumn<int>("count");
        // Per step: the key pressed on the focused control, the first and last publisher shown
        // (0, 0: the totals page), the control that has the focus, and which buttons can act.
        QTest::addColumn<QVariantList>("steps");
        using enum SummaryPreviewCtl;
        auto step = [](Qt::Key key, int first, int last, SummaryPreviewCtl focus, bool prev,
                       bool next) {
            return QVariantList{int(key), first, last, int(focus), prev, next};
        };
        QTest::newRow("18") << 18
                            << QVariantList{step(Qt::Key_Space, 0, 0, PrevPage, true, false),
                                            step(Qt::Key_Space, 1, 18, NextPage, false, true),
                                            step(Qt::Key_PageUp, 1, 18, NextPage, false, true)};
        QTest::newRow("40") << 40
                            << QVariantList{step(Qt::Key_Space, 19, 36, NextPage, true, true),
                                            step(Qt::Key_PageDown, 23, 40, NextPage, true, true),
                                            step(Qt::Key_Space, 0, 0, PrevPage, true, false),
                                            step(Qt::Key_PageDown, 0, 0, PrevPage, true, false),
                                            step(Qt::Key_Space, 23, 40, PrevPage, true, true),
                                            step(Qt::Key_PageUp, 5, 22, PrevPage, true, true),
                                            step(Qt::Key_Space, 1, 18, NextPage, false, true)};
    }
    void pagesThroughTheGroup() {
        QFETCH(int, count);
        QFETCH(QVariantList, steps);
        openGroup(count);
        withPreview([&](CSummaryPreviewDlg& preview) {
            QCOMPARE(preview.focusWidget(), control(&preview, SummaryPreviewCtl::Close));
            auto* prev = control<QPushButton>(&preview, SummaryPreviewCtl::PrevPage);
            auto* next = control<QPushButton>(&preview, SummaryPreviewCtl::NextPage);
            QVERIFY(!prev->isEnabled() && next->isEnabled());
            QCOMPARE(next->accessibleName(), QStringLiteral("Nästa sida"));
            QCOMPARE(prev->accessibleName(), QStringLiteral("Föregående sida"));
            next->setFocus(Qt::TabFocusReason);
            for (const QVariant& s : steps) {
                const QVariantList st = s.toList();
                const QString where =
                    QStringLiteral("key %1 to %2").arg(st[0].toInt()).arg(st[1].toInt());
                QTest::keyClick(preview.focusWidget(), Qt::Key(st[0].toInt()));
                QTRY_COMPARE(shownOnPane(preview), st[1].toInt() == 0
                                                       ? QList<int>{}
                                                       : range(st[1].toInt(), st[2].toInt()));
                QCOMPARE(preview.totalsShown(), st[1].toInt() == 0);
                QVERIFY2(preview.focusWidget() ==
                             control(&preview, SummaryPreviewCtl(st[3].toInt())),
                         qPrintable(where));
                QCOMPARE(prev->isEnabled(), st[4].toBool());
                QCOMPARE(next->isEnabled(), st[5].toBool());
                // The buttons stay as they are, so nothing moves under the focus.
                QVERIFY(prev->isVisible() && next->isVisible());
                QCOMPARE(prev->text(), QStringLiteral("< < <"));
                QCOMPARE(next->text(), QStringLiteral("> > >"));
                // The page is said with whichever button has the focus.
                const QString page = previewPageText(preview);
                QCOMPARE(prev->accessibleDescription(), page);
                QCOMPARE(next->accessibleDescription(), page);
            }
        });
    }

    // A reader gets the page as a table: the headings, and every text drawn, in full.
    void pagesReadAsTables() {
        openGroup(20);
        main->groupFile().store.record(2).monthStatus[10] = 1; // "Hjp." among the remarks
        withPreview([&](CSummaryPreviewDlg& preview) {
            CPreviewPane* pane = preview.previewPane();
            for (const bool totals : {false, true}) {
                if (totals) {
                    QTest::keyClick(&preview, Qt::Key_PageDown);
                    QTest::keyClick(&preview, Qt::Key_PageDown);
                }
                pane->repaint();
                QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(pane);
                QVERIFY(iface != nullptr && iface->tableInterface() != nullptr);
                QCOMPARE(iface->role(), QAccessible::Table);
                QCOMPARE(iface->text(QAccessible::Name),
                         totals ? QStringLiteral("Sida 3 av 3") : QStringLiteral("Sida 1 av 3"));
                QAccessibleTableInterface* table = iface->tableInterface();
                QCOMPARE(table->rowCount(), totals ? 7 : 18); // 5 rows and 2 status lines
                QStringList drawn;
                for (const DrawOp& op : pane->paintedOps()) {
                    if (op.kind == OpKind::Text) {
                        drawn << qs(op.text);
                    }
                }
                QStringList read;
                for (int c = 0; c < table->columnCount(); ++c) {
                    read << table->columnDescription(c);
                    const auto headers =
                        table->cellAt(0, c)->tableCellInterface()->columnHeaderCells();
                    QCOMPARE(headers.size(), 1);
                    QCOMPARE(headers[0]->text(QAccessible::Name), table->columnDescription(c));
                }
                for (int r = 0; r < table->rowCount(); ++r) {
                    for (int c = 0; c < table->columnCount(); ++c) {
                        QAccessibleInterface* cell = table->cellAt(r, c);
                        QCOMPARE(iface->child(iface->indexOfChild(cell)), cell);
                        if (!cell->text(QAccessible::Name).isEmpty()) {
                            read << cell->text(QAccessible::Name);
                        }
                    }
                }
                QCOMPARE(read, drawn);
                if (!totals) {
                    QVERIFY(read.contains(QStringLiteral("Hjp. ")));
                }
            }
            // The arrows walk the cells, and the reader is told which one has the focus.
            pane->setFocus(Qt::TabFocusReason);
            QTest::keyClick(pane, Qt::Key_Down);
            QTest::keyClick(pane, Qt::Key_Right);
            QAccessibleInterface* focused =
                QAccessible::queryAccessibleInterface(pane)->focusChild();
            QVERIFY(focused != nullptr);
            QCOMPARE(focused->tableCellInterface()->rowIndex(), 1);
            QCOMPARE(focused->tableCellInterface()->columnIndex(), 1);
            QVERIFY(focused->state().focused);
        });
    }

    // On screen the page takes the desktop's colours, a dark palette too, readable in both; on
    // paper it stays black on white.
    void thePageFollowsThePaletteAndPaperStaysWhite_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light Fusion") << false;
        QTest::newRow("dark Fusion") << true;
    }
    void thePageFollowsThePaletteAndPaperStaysWhite() {
        QFETCH(bool, dark);
        const PaletteScope scope(dark);
        openGroup(20);
        printers->setupPdf = file("a.pdf");
        withPreview([&](CSummaryPreviewDlg& preview) {
            CPreviewPane* pane = preview.previewPane();
            const QImage page = pane->grab().toImage();
            grabIfAsked(&preview, dark ? "preview-dark.png" : "preview-light.png");
            const QColor base = pane->palette().color(QPalette::Base);
            QCOMPARE(mostCommonColour(page), base);
            QVERIFY2(contrastOfInk(page, base) >= 4.5,
                     qPrintable(QString::number(contrastOfInk(page, base))));
            // The heading band: its own shade, and its headings as readable on it.
            const QImage band = page.copy(0, 0, page.width(), ScreenRowHeight(pane->height()) - 1);
            const QColor shade = mostCommonColour(band);
            QVERIFY(shade != base);
            QVERIFY2(contrastOfInk(band, shade) >= 4.5,
                     qPrintable(QString::number(contrastOfInk(band, shade))));
            click(&preview, SummaryPreviewCtl::PrintSetup);
            click(&preview, SummaryPreviewCtl::Print);
        });
        const QImage paper = firstPdfPage(file("a.pdf"));
        QVERIFY(!paper.isNull());
        QCOMPARE(mostCommonColour(paper), QColor(Qt::white));
        QVERIFY(contrastOfInk(paper, Qt::white) >= 20.0); // black ink
    }

    // The sample's November on the last page, as worked out by hand from its JSON.
    void theLastPageShowsTheGroupsTotals() {
#ifdef ZADW_SAMPLE_Z08
        openGroup(QStringLiteral(ZADW_SAMPLE_Z08));
#else
        QSKIP("the sample group is not built");
#endif
        withPreview([&](CSummaryPreviewDlg& preview) {
            click(&preview, SummaryPreviewCtl::NextPage); // 10..27
            click(&preview, SummaryPreviewCtl::NextPage);
            QVERIFY(preview.totalsShown());
            const auto painted = [&] {
                QStringList texts;
                for (const DrawOp& op : preview.previewPane()->paintedOps()) {
                    texts << qs(op.text);
                }
                return texts;
            };
            QTRY_VERIFY(painted().contains(QStringLiteral("Summa inräknade")));
            const QStringList texts = painted();
            for (const char* t :
                 {"Summa", "Förkunnare", "207", "18 / 23", "115½", "2 / 2  ( + 10 Timmar )",
                  "1 / 1  ej inräknade", "Summa inräknade", "372½", "147", "61", "156",
                  "21 / 26  ( + 10 Timmar )", "Utebliven rapport för november = 4",
                  "Endast anmärkning för november = 1", "Summa förkunnare = 27"}) {
                QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
            }
        });
    }

    void captionNamesTheReportMonth() {
        struct Case {
            int month;
            const char* caption;
        };
        for (const Case c : {Case{0, "Insamling av rapporter för januari"},
                             Case{2, "Insamling av rapporter för mars"}}) {
            const int month = c.month;
            const QString caption = QString::fromUtf8(c.caption);
            openGroup(3, month);
            withPreview([&](CSummaryPreviewDlg& preview) {
                QCOMPARE(preview.windowTitle(), caption);
                QCOMPARE(preview.shownMonth(), month);
                // The pane sits in the template's place, inside the etched frame.
                QCOMPARE(preview.previewPane()->geometry().topLeft(),
                         QPoint(dialogUnitsFor(preview.font()).x(6),
                                dialogUnitsFor(preview.font()).y(4)));
            });
        }
    }

    void withoutAPrinterNothingIsPrinted() {
        openGroup(3);
        withPreview([&](CSummaryPreviewDlg& preview) {
            // "No Printer", then setup on a PDF file, cancelled here: nothing printed.
            click(&preview, SummaryPreviewCtl::Print);
            QCOMPARE(desk.messages.shown, std::vector<std::string>{"No Printer"});
            QCOMPARE(printers->setups, 1);
            // Setup cancelled: still none.
            click(&preview, SummaryPreviewCtl::PrintSetup);
            click(&preview, SummaryPreviewCtl::Print);
            QCOMPARE(desk.messages.shown.size(), std::size_t(2));
            QCOMPARE(printers->setups, 3);
            QVERIFY(preview.isVisible());
        });
    }

    // Without a printer a PDF in the documents folder is two confirmations away.
    void withoutAPrinterSetupOffersAPdf() {
        openGroup(3);
        printers->setupPdf = file("lista.pdf");
        withPreview([&](CSummaryPreviewDlg& preview) {
            click(&preview, SummaryPreviewCtl::Print);
            // A file is not seen coming out as paper is: the collector is told where it went.
            QCOMPARE(desk.messages.shown,
                     (std::vector<std::string>{"No Printer", savedAs("lista.pdf")}));
            const QString documents =
                QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            QCOMPARE(printers->offeredPdf,
                     QDir(documents.isEmpty() ? QDir::homePath() : documents)
                         .filePath(QStringLiteral("Insamling av rapporter - november.pdf")));
            // The list went to the file chosen there, and that choice stays for the run.
            QCOMPARE(pageCount(file("lista.pdf")), 1);
            click(&preview, SummaryPreviewCtl::Print);
            QCOMPARE(desk.messages.shown.size(), std::size_t(3));
            QCOMPARE(desk.messages.shown.back(), savedAs("lista.pdf"));
            QCOMPARE(printers->setups, 1);
        });
    }

    void aPrinterThatCannotStartSaysNoHdc() {
        openGroup(3);
        printers->setupPdf = file("borta/lista.pdf");
        withPreview([&](CSummaryPreviewDlg& preview) {
            click(&preview, SummaryPreviewCtl::PrintSetup);
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
            click(&preview, SummaryPreviewCtl::Print);
            QCOMPARE(desk.messages.shown, std::vector<std::string>{"no hdc"});
        });
    }

    void theDefaultPrinterServesUntilAnotherIsChosen() {
        openGroup(3);
        printers->defaultPdf = file("a.pdf");
        withPreview(
            [&](CSummaryPreviewDlg& preview) { click(&preview, SummaryPreviewCtl::Print); });
        QVERIFY(QFile::exists(file("a.pdf")));

        printers->setupPdf = file("b.pdf");
        withPreview(
            [&](CSummaryPreviewDlg& preview) { click(&preview, SummaryPreviewCtl::PrintSetup); });
        QVERIFY(!QFile::exists(file("b.pdf"))); // setup alone prints nothing

        // A later preview prints on the chosen printer without asking again; a cancelled setup
        // keeps it.
        printers->setupPdf.clear();
        withPreview([&](CSummaryPreviewDlg& preview) {
            click(&preview, SummaryPreviewCtl::Print);
            click(&preview, SummaryPreviewCtl::PrintSetup);
        });
        withPreview(
            [&](CSummaryPreviewDlg& preview) { click(&preview, SummaryPreviewCtl::Print); });
        QVERIFY(QFile::exists(file("b.pdf")));
        QCOMPARE(printers->setups, 2);
        QVERIFY(onlySaidWhereItWent());
    }

    // Paper chosen in setup: each sheet holds the rows that fit it, and nobody is lost.
    void everyPaperHoldsEveryPublisher_data() {
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("fewestPages");
        QTest::newRow("A4 portrait") << int(QPageSize::A4) << false << 4;
        QTest::newRow("A4 landscape") << int(QPageSize::A4) << true << 5;
        QTest::newRow("A5 portrait") << int(QPageSize::A5) << false << 4;
        QTest::newRow("Letter landscape") << int(QPageSize::Letter) << true << 5;
    }
    void everyPaperHoldsEveryPublisher() {
        QFETCH(int, paper);
        QFETCH(bool, landscape);
        QFETCH(int, fewestPages);
        openGroup(127);
        printers->setupPdf = file("lista.pdf");
        printers->setupPaper = QPageSize(static_cast<QPageSize::PageSizeId>(paper));
        printers->setupOrientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
        withPreview([&](CSummaryPreviewDlg& preview) {
            click(&preview, SummaryPreviewCtl::PrintSetup);
            click(&preview, SummaryPreviewCtl::Print);
        });
        QVERIFY(onlySaidWhereItWent());
        QVERIFY(pageCount(file("lista.pdf")) >= fewestPages);
        const QString text = pdfText(file("lista.pdf"));
        QCOMPARE(text.count(QStringLiteral("Insamling av rapporter - november")),
                 pageCount(file("lista.pdf")));
        for (int p = 1; p <= 127; ++p) {
            const QString name = QStringLiteral("Förnamn%1 Efternamn%1\n").arg(p);
            QVERIFY2(text.count(name) == 1, qPrintable(name));
        }
    }

    // Everything is printed whatever page is on screen, as one job, and the screen stays.
    void printsTheWholeListAsOneDocument_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::newRow("sample") << 0 << 1;
        QTest::newRow("40") << 40 << 2;
    }
    void printsTheWholeListAsOneDocument() {
        QFETCH(int, count);
        QFETCH(int, pages);
#ifdef ZADW_SAMPLE_Z08
        if (count == 0) {
            openGroup(QStringLiteral(ZADW_SAMPLE_Z08));
        }
#endif
        if (count == 0 && !main) {
            openGroup(27); // the sample's size, when examples/ is not built
        } else if (count != 0) {
            openGroup(count);
        }
        printers->setupPdf = file("a.pdf");
        withPreview([&](CSummaryPreviewDlg& preview) {
            click(&preview, SummaryPreviewCtl::PrintSetup);
            click(&preview, SummaryPreviewCtl::NextPage);
            const PreviewPaging before = preview.paging();
            click(&preview, SummaryPreviewCtl::Print);
            QCOMPARE(preview.paging().firstShown, before.firstShown);
            QCOMPARE(preview.paging().endShown, before.endShown);
            QCOMPARE(printers->printer()->docName(),
                     QStringLiteral("Insamling av rapporter - november"));
        });
        QVERIFY(onlySaidWhereItWent());
        QCOMPARE(pageCount(file("a.pdf")), pages);
        QVERIFY(
            pdfInfo(file("a.pdf")).contains(QStringLiteral("Insamling av rapporter - november")));
        const QString text = pdfText(file("a.pdf"));
        QVERIFY(text.contains(QStringLiteral("Insamling av rapporter - november")));
        QVERIFY(text.contains(QStringLiteral("Grupp #4")));
        for (int p = 1; p <= main->groupFile().store.publisherCount; ++p) {
            const QString name = qs(main->groupFile().store.displayName(p, false));
            QVERIFY2(text.contains(name), qPrintable(name));
        }
    }
};

QTEST_MAIN(SummaryPreviewTest)
#include "SummaryPreviewTest.moc"
