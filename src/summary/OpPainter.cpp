// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpPainter.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace zadw {
namespace {

QRect toQRect(const Rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// A paper colour (0 black ink, 0xFF white paper, per channel) on a surface of ink on background.
QColor onSurface(std::uint32_t rgb, const QColor& ink, const QColor& background) {
    const auto channel = [](std::uint32_t paper, int inkValue, int backgroundValue) {
        const double p = static_cast<double>(paper & 0xFF) / 255.0;
        return static_cast<int>(std::lround(inkValue + (backgroundValue - inkValue) * p));
    };
    return QColor(channel(rgb >> 16, ink.red(), background.red()),
                  channel(rgb >> 8, ink.green(), background.green()),
                  channel(rgb, ink.blue(), background.blue()));
}

} // namespace

QFont ToolkitFont(const Font& font, const QFont& stockVariable, const QPaintDevice* device) {
    if (font.kind == FontKind::StockVariable) {
        return stockVariable;
    }
    // The layout is measured for Arial's widths, which Liberation Sans shares; asking for it by
    // name does not depend on fontconfig's aliases. The character set needs no mapping: the text
    // is Unicode.
    QFont f;
    if (font.face == "Arial") {
        f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    } else {
        f.setFamilies({QString::fromStdString(font.face)});
    }
    f.setStyleHint(QFont::SansSerif);
    f.setWeight(
        static_cast<QFont::Weight>(std::clamp(font.weight > 0 ? font.weight : 400, 1, 1000)));
    if (font.height < 0) {
        f.setPixelSize(-font.height); // the character height, as a pixel size is
    } else if (font.height > 0) {
        // A positive height is the whole cell; take off the internal leading.
        f.setPixelSize(font.height);
        const QFontMetrics fm(f, device);
        f.setPixelSize(std::max(1, font.height * font.height / std::max(1, fm.height())));
    }
    return f;
}

DeviceTextMeasure::DeviceTextMeasure(const QPaintDevice* device, const QFont& stockVariable)
    : device_(device), stockVariable_(stockVariable) {}

int DeviceTextMeasure::width(const std::string& text, const Font& font) const {
    const QFontMetricsF fm(ToolkitFont(font, stockVariable_, device_), device_);
    // Rounded up, and a unit more for the rounding of glyph positions on the device.
    return static_cast<int>(std::ceil(fm.horizontalAdvance(QString::fromStdString(text)))) + 1;
}

int DeviceTextMeasure::depth(const Font& font) const {
    return OpPainter::inkDepth(QFontMetrics(ToolkitFont(font, stockVariable_, device_), device_));
}

OpPainter::OpPainter(QPainter& painter, const QFont& stockVariable, QColor background, QColor ink)
    : painter_(painter), stockVariable_(stockVariable), background_(background), ink_(ink) {}

QFont OpPainter::fontFor(const Font& font) const {
    return ToolkitFont(font, stockVariable_, painter_.device());
}

void OpPainter::paint(const std::vector<DrawOp>& ops) {
    for (const DrawOp& op : ops) {
        paint(op);
    }
}

void OpPainter::paint(const DrawOp& op) {
    switch (op.kind) {
    case OpKind::Text:
        paintText(op);
        break;
    case OpKind::Line: {
        QPen pen(ink_, std::max(1, op.penWidth), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        painter_.setPen(pen);
        painter_.drawLine(op.x, op.y, op.x2, op.y2);
        break;
    }
    case OpKind::FillRect:
        painter_.fillRect(toQRect(op.rect), onSurface(op.color, ink_, background_));
        break;
    case OpKind::FillBackground:
        painter_.fillRect(toQRect(op.rect), background_);
        break;
    }
}

int OpPainter::baselineOffset(const QFontMetrics& fm) {
    // The layout places the top of the text cell; the toolkit draws on the baseline. Some fonts
    // (DejaVu Sans, and small hinted sizes of others) put the ring of "Å" above their ascent:
    // the cell makes room for it, or it would touch the ruled line above the row.
    return std::max(fm.ascent(), -fm.tightBoundingRect(QStringLiteral("ÅÄÖ")).top());
}

int OpPainter::inkDepth(const QFontMetrics& fm) {
    return baselineOffset(fm) + fm.tightBoundingRect(QStringLiteral("gjpqy")).bottom();
}

void OpPainter::paintText(const DrawOp& op) {
    painter_.save();
    if (op.clip) {
        painter_.setClipRect(toQRect(*op.clip));
    }
    painter_.setFont(fontFor(op.font));
    painter_.setPen(ink_);
    const QFontMetrics fm = painter_.fontMetrics();
    const QString text = QString::fromStdString(op.text);
    int x = op.x;
    if (op.align == Align::Right) {
        x -= fm.horizontalAdvance(text);
    }
    painter_.drawText(QPoint(x, op.y + baselineOffset(fm)), text);
    painter_.restore();
}

} // namespace zadw
