// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview dialog's pane: paints the screen page that its dialog lays out for the pane's size,
// and offers the same page to screen readers as a table whose cells the arrow keys walk.

#include "DrawOps.h"
#include "ScreenPage.h"

#include <QWidget>
#include <functional>
#include <vector>

namespace zadw {

class CPreviewPane : public QWidget {
    Q_OBJECT

public:
    using PageSource = std::function<std::vector<DrawOp>(const ScreenMeasures&)>;
    using TableSource = std::function<ScreenTable()>;

    CPreviewPane(PageSource source, TableSource table, QWidget* parent);

    // What the last paint put on the pane.
    const std::vector<DrawOp>& paintedOps() const { return painted_; }
    // The page shown, as a reader takes it.
    const ScreenTable& table() const { return table_; }

    // The dialog turned the page: it is drawn anew, and a reader is told its name.
    void ShowPage(const QString& name);

    // The cell the keyboard is on, row and column from 0.
    int currentRow() const { return row_; }
    int currentColumn() const { return column_; }
    void SetCurrentCell(int row, int column);
    // Where a cell lies in the pane; row -1 is the headings.
    QRect CellRect(int row, int column) const;

    // font, made smaller where a row of rowHeight pixels, with its text cy below the ruled
    // line, has no room for its tallest and deepest letters.
    static QFont FitRowFont(QFont font, int rowHeight, int cy, const QPaintDevice* device);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void AnnounceCurrentCell();

    PageSource source_;
    TableSource tableSource_;
    ScreenTable table_;
    std::vector<DrawOp> painted_;
    int row_ = 0;
    int column_ = 0;
};

} // namespace zadw
