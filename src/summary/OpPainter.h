// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Puts the summary layout's drawing operations on a QPainter: the preview pane, a printer or a
// PDF file. Positions and sizes are device units, as the layout computed them.

#include "DrawOps.h"

#include <QColor>
#include <QFont>
#include <vector>

class QFontMetrics;
class QPainter;
class QPaintDevice;

namespace zadw {

// The toolkit font for a layout font, sized for device. "Arial" asks for its metric twin
// Liberation Sans by name first, then Arial itself.
QFont ToolkitFont(const Font& font, const QFont& stockVariable, const QPaintDevice* device);

// Widths and depths of texts in the fonts device really gives, which may not be the ones asked
// for when a font is missing.
class DeviceTextMeasure : public TextMeasure {
public:
    DeviceTextMeasure(const QPaintDevice* device, const QFont& stockVariable);
    int width(const std::string& text, const Font& font) const override;
    int depth(const Font& font) const override;

private:
    const QPaintDevice* device_;
    QFont stockVariable_;
};

class OpPainter {
public:
    // stockVariable: the desktop's variable-pitch font, for FontKind::StockVariable.
    // background: the colour of the surface, for FillBackground; ink: of texts and lines. The
    // layout's fills are given as on paper, black on white: on other colours each channel keeps
    // its place between ink and background, so a light band stays light on a light screen and
    // goes dark on a dark one, with the ink as readable on it.
    OpPainter(QPainter& painter, const QFont& stockVariable, QColor background = Qt::white,
              QColor ink = Qt::black);

    void paint(const DrawOp& op);
    void paint(const std::vector<DrawOp>& ops);

    // The toolkit font for a layout font, sized for the painter's device.
    QFont fontFor(const Font& font) const;

    // Where a text's baseline lies below the top of its cell.
    static int baselineOffset(const QFontMetrics& fm);
    // How far below the top of its cell a text's lowest letters (g, j, y) reach, inclusive.
    static int inkDepth(const QFontMetrics& fm);

private:
    void paintText(const DrawOp& op);

    QPainter& painter_;
    QFont stockVariable_;
    QColor background_;
    QColor ink_;
};

} // namespace zadw
