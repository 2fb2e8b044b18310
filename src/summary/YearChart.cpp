// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearChart.h"

#include "OpPainter.h"
#include "Strings.h"
#include "YearOverviewLayout.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace zadw {
namespace {

// Room for two rows of bars, each with its heading and figures, and the months under them.
constexpr int kTextLines = 12;

} // namespace

CYearChart::CYearChart(const YearOverview& year, QWidget* parent) : QWidget(parent), year_(year) {
    // Reached with Tab, so that a screen reader reads it out; it takes no keys of its own.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QString::fromStdString(LoadString(StringId::ReportedHeading) + ", " +
                                             LoadString(StringId::OldFormHours)));
    setAccessibleDescription(QString::fromStdString(YearChartText(year_)));
}

Font CYearChart::LayoutFont() const {
    Font font;
    font.face = QFontInfo(this->font()).family().toStdString();
    font.height = -QFontInfo(this->font()).pixelSize();
    return font;
}

QSize CYearChart::sizeHint() const {
    const QFontMetrics fm(font());
    return {fm.averageCharWidth() * 12 * 8, fm.height() * kTextLines};
}

QSize CYearChart::minimumSizeHint() const {
    const QFontMetrics fm(font());
    return {fm.averageCharWidth() * 12 * 5, fm.height() * kTextLines};
}

void CYearChart::paintEvent(QPaintEvent*) {
    const DeviceTextMeasure measure(this, font());
    const int margin = QFontMetrics(font()).averageCharWidth();
    painted_.clear();
    painted_.push_back(DrawOp::makeBackground({0, 0, width(), height()}));
    LayOutYearChart(painted_, year_, {margin, margin / 2, width() - margin, height() - margin / 2},
                    LayoutFont(), measure);
    QPainter painter(this);
    OpPainter ops(painter, font(), palette().color(QPalette::Base));
    ops.paint(painted_);
    painter.end();
    if (hasFocus()) {
        QStylePainter focus(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        focus.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

} // namespace zadw
