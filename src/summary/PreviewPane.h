// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview dialog's pane: paints the screen page that its dialog lays out for the pane's size.

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

    CPreviewPane(PageSource source, QWidget* parent);

    // What the last paint put on the pane.
    const std::vector<DrawOp>& paintedOps() const { return painted_; }

    // font, made smaller where a row of rowHeight pixels, with its text cy below the ruled
    // line, has no room for its tallest and deepest letters.
    static QFont FitRowFont(QFont font, int rowHeight, int cy, const QPaintDevice* device);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PageSource source_;
    std::vector<DrawOp> painted_;
};

} // namespace zadw
