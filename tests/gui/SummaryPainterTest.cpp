// SPDX-License-Identifier: GPL-3.0-or-later
// The painter adapter: where its text, lines and fills land in pixels.
#include "OpPainter.h"
#include "PreviewPane.h"
#include "SummaryLayout.h"
#include "SummaryPdf.h"
#include "TemplateBuilder.h"

#include <QBuffer>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QtTest>

using namespace zadw;

namespace {

QImage blank() {
    QImage image(600, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The smallest rectangle holding every pixel that is not white.
QRect inked(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

Font stock() {
    Font f;
    f.kind = FontKind::StockVariable;
    return f;
}

} // namespace

class SummaryPainterTest : public QObject {
    Q_OBJECT

private slots:
    void arialIsItsMetricTwinAtTheCharacterHeight() {
        QImage image = blank();
        QPainter painter(&image);
        OpPainter ops(painter, variablePitchFont());
        const QFont body = ops.fontFor(PrintFont(600, 100, false));
        QCOMPARE(body.pixelSize(), 83);
        QCOMPARE(QFontInfo(body).family(), QStringLiteral("Liberation Sans"));
        QVERIFY(!QFontInfo(body).bold());
        const QFont title = ops.fontFor(PrintFont(600, 140, true));
        QCOMPARE(title.pixelSize(), 116);
        QVERIFY(QFontInfo(title).bold());
        QCOMPARE(ops.fontFor(stock()), variablePitchFont());
    }

    // The layout places the top-left (or top-right) corner of the text cell; the glyphs, with
    // their accents and descenders, must stay inside that cell.
    void textStaysInsideItsCell_data() {
        QTest::addColumn<int>("height"); // 0: the desktop's variable-pitch font
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("bold");
        for (const bool right : {false, true}) {
            const char* side = right ? "right" : "left";
            QTest::addRow("body %s", side) << -13 << right << false;
            QTest::addRow("title %s", side) << -40 << right << true;
            QTest::addRow("stock %s", side) << 0 << right << false;
        }
    }
    void textStaysInsideItsCell() {
        QFETCH(int, height);
        QFETCH(bool, right);
        QFETCH(bool, bold);
        Font font = stock();
        if (height != 0) {
            font = Font{FontKind::Logical, "Arial", height, bold ? 700 : 400};
        }
        QImage image = blank();
        QPainter painter(&image);
        OpPainter ops(painter, variablePitchFont());
        const int x = 300;
        const int y = 60;
        ops.paint(DrawOp::makeText(x, y, "ÅÖgjy¼", font, right ? Align::Right : Align::Left));
        const QFontMetrics fm(ops.fontFor(font), &image);
        painter.end();

        const QRect box = inked(image);
        QVERIFY(!box.isEmpty());
        // Nothing above the cell, and the baseline not pushed down either.
        QVERIFY2(box.top() >= y, qPrintable(QString::number(box.top())));
        QVERIFY2(box.top() <= y + fm.height() / 4, qPrintable(QString::number(box.top())));
        QVERIFY2(box.bottom() < y + fm.height() + fm.height() / 4,
                 qPrintable(QString::number(box.bottom())));
        // Glyphs may overhang their advance a little (the "¼" in bold), no more.
        const int overhang = std::max(0, -fm.rightBearing(QChar(0xBC))) + 1;
        if (right) {
            QVERIFY2(box.right() <= x + overhang, qPrintable(QString::number(box.right())));
            QVERIFY(box.right() >= x - fm.horizontalAdvance(QStringLiteral(" ")));
        } else {
            QVERIFY(box.left() >= x);
            QVERIFY(box.left() <= x + fm.horizontalAdvance(QStringLiteral(" ")));
        }
    }

    // The layout shortens and places texts by these measures: the letters drawn stay inside them.
    void measuresHoldWhatIsDrawn_data() {
        QTest::addColumn<int>("height");
        QTest::newRow("body at 600 dpi") << -83;
        QTest::newRow("small at 600 dpi") << -66;
        QTest::newRow("small at 150 dpi") << -16;
    }
    void measuresHoldWhatIsDrawn() {
        QFETCH(int, height);
        const Font font{FontKind::Logical, "Arial", height, 400};
        QImage image(1600, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        const DeviceTextMeasure measure(&image, variablePitchFont());
        QPainter painter(&image);
        OpPainter ops(painter, variablePitchFont());
        const std::string text = "ÅÖgjy WWW…";
        ops.paint(DrawOp::makeText(20, 40, text, font));
        painter.end();
        const QRect box = inked(image);
        QVERIFY2(box.bottom() <= 40 + measure.depth(font),
                 qPrintable(QString::number(box.bottom())));
        QVERIFY2(box.right() < 20 + measure.width(text, font),
                 qPrintable(QString::number(box.right())));
        QVERIFY(measure.width("WWW", font) > measure.width("iii", font));
    }

    // The printed list is measured on the printer: a large desktop font changes nothing on it.
    void theDesktopFontChangesNothingOnPaper() {
        const QFont desktop = QGuiApplication::font();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        const PrinterMeasures before = MeasuresOf(writer);
        QFont large = desktop;
        large.setPointSize(40);
        QGuiApplication::setFont(large);
        const PrinterMeasures after = MeasuresOf(writer);
        QGuiApplication::setFont(desktop);
        QCOMPARE(after.textHeight, before.textHeight);
        QVERIFY(before.textHeight < 600 / 6); // the header keeps its sixth of an inch a line
        QCOMPARE(after.pageHeight, before.pageHeight);
    }

    // The pane's rows are as high as its size allows; its font shrinks until a name with both
    // "Å" and descenders fits between two ruled lines, and not further.
    void paneFontFitsBetweenTheRuledLines() {
        const QFont desktop = variablePitchFont();
        const int desktopSize = QFontInfo(desktop).pixelSize();
        for (const int rowHeight : {12, 15, 17, 2 * desktopSize}) {
            QImage image = blank();
            const QFont font = CPreviewPane::FitRowFont(desktop, rowHeight, 1, &image);
            QCOMPARE(font.family(), desktop.family());
            {
                QPainter painter(&image);
                OpPainter ops(painter, font);
                ops.paint(DrawOp::makeText(10, 100 + 1, "Åsa Lindqvist-Öjg", stock()));
            }
            const QRect box = inked(image);
            QVERIFY2(box.top() >= 101 && box.bottom() < 100 + rowHeight,
                     qPrintable(QStringLiteral("row %1: %2..%3")
                                    .arg(rowHeight)
                                    .arg(box.top())
                                    .arg(box.bottom())));
            if (rowHeight == 2 * desktopSize) {
                QCOMPARE(QFontInfo(font).pixelSize(), desktopSize);
            }
        }
    }

    void clippedTextStaysInItsRectangle() {
        QImage image = blank();
        QPainter painter(&image);
        OpPainter ops(painter, variablePitchFont());
        DrawOp op = DrawOp::makeText(100, 50, "Rapport via telefon, sent", stock());
        op.clip = Rect{100, 50, 160, 80};
        ops.paint(op);
        painter.end();
        const QRect box = inked(image);
        QVERIFY(!box.isEmpty());
        QVERIFY(QRect(100, 50, 60, 30).contains(box));
    }

    // On paper the layout's colours stand as given. On a screen of other colours the ink and
    // the background take black's and white's places, and the band stays between them.
    void linesAndFillsLandWhereTheLayoutSays_data() {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("ink");
        QTest::addColumn<QColor>("band");
        QTest::newRow("paper") << QColor(Qt::white) << QColor(Qt::black) << QColor(0xC0C0C0);
        QTest::newRow("dark screen") << QColor(0x2a2a2a) << QColor(Qt::white) << QColor(0x5f5f5f);
    }
    void linesAndFillsLandWhereTheLayoutSays() {
        QFETCH(QColor, background);
        QFETCH(QColor, ink);
        QFETCH(QColor, band);
        QImage image(600, 240, QImage::Format_RGB32);
        image.fill(Qt::red); // what no operation paints
        QPainter painter(&image);
        OpPainter ops(painter, variablePitchFont(), background, ink);
        ops.paint({
            DrawOp::makeBackground({0, 0, 40, 40}),
            DrawOp::makeFill({50, 0, 100, 20}, 0xC0C0C0),
            DrawOp::makeLine(200, 100, 400, 100, 2),
            DrawOp::makeLine(500, 10, 500, 200, 1),
        });
        painter.end();
        struct Probe {
            int x, y;
            QColor colour;
        };
        const QColor none(Qt::red);
        const Probe probes[] = {
            {0, 0, background}, {39, 39, background}, {40, 40, none},  {50, 0, band},
            {99, 19, band},     {100, 20, none},      {300, 100, ink}, {300, 103, none},
            {500, 150, ink},    {502, 150, none},
        };
        for (const Probe& p : probes) {
            QVERIFY2(image.pixelColor(p.x, p.y) == p.colour,
                     qPrintable(QStringLiteral("%1,%2: %3")
                                    .arg(p.x)
                                    .arg(p.y)
                                    .arg(image.pixelColor(p.x, p.y).name())));
        }
    }
};

QTEST_MAIN(SummaryPainterTest)
#include "SummaryPainterTest.moc"
