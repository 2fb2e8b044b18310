// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPane.h"

#include "OpPainter.h"
#include "PreviewPaneAccessible.h"
#include "TemplateBuilder.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <utility>

namespace zadw {

namespace {

constexpr int kBorder = 1;            // the desktop's border width and height
constexpr int kSmallestPixelSize = 8; // below this the names are no longer readable

} // namespace

CPreviewPane::CPreviewPane(PageSource source, TableSource table, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), tableSource_(std::move(table)) {
    InstallPreviewPaneAccessible();
    // A tab stop, so that a screen reader can walk the page cell by cell.
    setFocusPolicy(Qt::StrongFocus);
    if (tableSource_) {
        table_ = tableSource_();
    }
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

void CPreviewPane::ShowPage(const QString& name) {
    table_ = tableSource_ ? tableSource_() : ScreenTable{};
    const int rows = static_cast<int>(table_.rows.size());
    row_ = std::clamp(row_, 0, std::max(rows - 1, 0));
    DropPreviewPaneCells(this);
    setAccessibleName(name);
    QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
    update();
    if (hasFocus()) {
        AnnounceCurrentCell();
    }
}

void CPreviewPane::SetCurrentCell(int row, int column) {
    const int rows = static_cast<int>(table_.rows.size());
    const int columns = static_cast<int>(table_.headings.size());
    row = std::clamp(row, 0, std::max(rows - 1, 0));
    column = std::clamp(column, 0, std::max(columns - 1, 0));
    if (row == row_ && column == column_) {
        return;
    }
    row_ = row;
    column_ = column;
    update();
    if (hasFocus()) {
        AnnounceCurrentCell();
    }
}

QRect CPreviewPane::CellRect(int row, int column) const {
    const ScreenMeasures pane{width(), height(), kBorder, kBorder, nullptr};
    const bool inTable = row >= 0 && row < static_cast<int>(table_.rows.size());
    const int band = inTable ? table_.rows[static_cast<std::size_t>(row)].band : 0;
    const bool wide = inTable && table_.rows[static_cast<std::size_t>(row)].wide && column == 0;
    const Rect r = ScreenCellRect(pane, table_, band, column, wide);
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

void CPreviewPane::AnnounceCurrentCell() {
    if (table_.rows.empty()) {
        return;
    }
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(PreviewPaneChildIndex(table_, row_, column_));
    QAccessible::updateAccessibility(&focus);
}

void CPreviewPane::paintEvent(QPaintEvent*) {
    // The desktop's font can be taller than the rows the pane's size allows; the rows win, as
    // letters across the ruled lines are hard to read.
    const QFont font = FitRowFont(variablePitchFont(), ScreenRowHeight(height()), kBorder, this);
    const DeviceTextMeasure measure(this, font);
    painted_ = source_(ScreenMeasures{width(), height(), kBorder, kBorder, &measure});
    QPainter painter(this);
    // The screen follows the desktop's colours, dark ones too; paper stays black on white.
    OpPainter ops(painter, font, palette().color(QPalette::Base), palette().color(QPalette::Text));
    ops.paint(painted_);
    if (hasFocus() && !table_.rows.empty()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(CellRect(row_, column_).adjusted(1, 1, -1, -1));
    }
}

void CPreviewPane::keyPressEvent(QKeyEvent* event) {
    const int lastRow = static_cast<int>(table_.rows.size()) - 1;
    const int lastColumn = static_cast<int>(table_.headings.size()) - 1;
    const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
    switch (event->key()) {
    case Qt::Key_Up:
        SetCurrentCell(row_ - 1, column_);
        break;
    case Qt::Key_Down:
        SetCurrentCell(row_ + 1, column_);
        break;
    case Qt::Key_Left:
        SetCurrentCell(row_, column_ - 1);
        break;
    case Qt::Key_Right:
        SetCurrentCell(row_, column_ + 1);
        break;
    case Qt::Key_Home:
        SetCurrentCell(control ? 0 : row_, 0);
        break;
    case Qt::Key_End:
        SetCurrentCell(control ? lastRow : row_, lastColumn);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CPreviewPane::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    for (int row = 0; row < static_cast<int>(table_.rows.size()); ++row) {
        for (int column = 0; column < static_cast<int>(table_.headings.size()); ++column) {
            // A wide row's first cell spans the row: it is found first.
            if (CellRect(row, column).contains(at)) {
                SetCurrentCell(row, column);
                QWidget::mousePressEvent(event);
                return;
            }
        }
    }
    QWidget::mousePressEvent(event);
}

void CPreviewPane::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    // After the pane's own focus, which the toolkit tells once this event is done.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus()) {
                AnnounceCurrentCell();
            }
        },
        Qt::QueuedConnection);
}

void CPreviewPane::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

} // namespace zadw
