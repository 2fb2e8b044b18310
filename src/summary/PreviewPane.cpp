// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPane.h"

#include "OpPainter.h"
#include "TemplateBuilder.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <utility>

namespace zadw {

namespace {

constexpr int kBorder = 1;            // the desktop's border width and height
constexpr int kSmallestPixelSize = 8; // below this the names are no longer readable

} // namespace

CPreviewPane::CPreviewPane(PageSource source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
    setFocusPolicy(Qt::NoFocus);
}

QFont CPreviewPane::FitRowFont(QFont font, int rowHeight, int cy, const QPaintDevice* device) {
    if (rowHeight <= 0) {
        return font;
    }
    // The text starts cy below the row's top; the next row's line is rowHeight below it.
    const int room = rowHeight - cy - 1;
    int size = QFontInfo(font).pixelSize();
    while (size > kSmallestPixelSize && OpPainter::inkDepth(QFontMetrics(font, device)) > room) {
        font.setPixelSize(--size);
    }
    return font;
}

void CPreviewPane::paintEvent(QPaintEvent*) {
    // The desktop's font can be taller than the rows the pane's size allows; the rows win, as
    // letters across the ruled lines are hard to read.
    const QFont font = FitRowFont(variablePitchFont(), ScreenRowHeight(height()), kBorder, this);
    const DeviceTextMeasure measure(this, font);
    painted_ = source_(ScreenMeasures{width(), height(), kBorder, kBorder, &measure});
    QPainter painter(this);
    OpPainter ops(painter, font, palette().color(QPalette::Base));
    ops.paint(painted_);
}

} // namespace zadw
