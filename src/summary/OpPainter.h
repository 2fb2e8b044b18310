#pragma once
// Puts the summary layout's drawing operations on a QPainter: the preview pane, a printer or a
// PDF file. Positions and sizes are device units, as the layout computed them.

#include "DrawOps.h"

#include <QColor>
#include <QFont>
#include <vector>

class QFontMetrics;
class QPainter;

namespace zadw {

class OpPainter {
public:
    // stockVariable: the desktop's variable-pitch font, for FontKind::StockVariable.
    // background: the colour of the surface, for FillBackground.
    OpPainter(QPainter& painter, QFont stockVariable, QColor background = Qt::white);

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
};

} // namespace zadw
