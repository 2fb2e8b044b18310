// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The year overview's chart on screen: the same drawing operations the paper gets, in the
// window's font; a screen reader reads its figures as its description.

#include "DrawOps.h"
#include "YearOverview.h"

#include <QWidget>
#include <vector>

namespace zadw {

class CYearChart : public QWidget {
    Q_OBJECT

public:
    CYearChart(const YearOverview& year, QWidget* parent);

    // What the last paint put on the chart.
    const std::vector<DrawOp>& paintedOps() const { return painted_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Font LayoutFont() const;

    const YearOverview& year_;
    std::vector<DrawOp> painted_;
};

} // namespace zadw
