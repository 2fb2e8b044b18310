// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearCardDlg.h"

#include "Strings.h"
#include "TemplateBuilder.h"
#include "TextFit.h"
#include "YearOverviewCells.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zadw {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

CYearCardDlg::CYearCardDlg(const GroupStore& store, const PublisherYear& publisher, int serviceYear,
                           QWidget* parent)
    : QDialog(parent) {
    const QString name = ReadableText(qs(publisher.name));
    setWindowTitle(name + QStringLiteral(" \u2013 ") + qs(YearOverviewTitle()));

    auto* heading = new QLabel(this);
    heading->setTextFormat(Qt::PlainText);
    heading->setText(name + QStringLiteral("     ") + qs(RegularityText(publisher.regularity)) +
                     QStringLiteral("     ") + qs(ServiceYearText(serviceYear)) +
                     QStringLiteral(": ") + qs(ServiceYearCell(publisher)));

    const YearCard card = MakeYearCard(store, publisher);
    table_ = new QTableWidget(static_cast<int>(card.rows.size()),
                              static_cast<int>(card.columns.size()), this);
    table_->setObjectName(controlName(YearCardCtl::Table));
    table_->setAccessibleName(windowTitle());
    table_->setAccessibleDescription(heading->text());
    QStringList columns;
    for (const std::string& c : card.columns) {
        columns << qs(c);
    }
    QStringList rows;
    for (const std::string& r : card.rows) {
        rows << qs(r);
    }
    // The months are the rows' headings, so that a reader names the month of every cell.
    table_->setHorizontalHeaderLabels(columns);
    table_->setVerticalHeaderLabels(rows);
    for (int r = 0; r < table_->rowCount(); ++r) {
        for (int c = 0; c < table_->columnCount(); ++c) {
            const std::string& text =
                card.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(ReadableText(qs(text)));
            if (c > 0 && c + 1 < table_->columnCount()) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);

    const QString closeText = qs(LoadString(StringId::Close));
    auto* close = new QPushButton(QLatin1Char('&') + closeText, this);
    close->setObjectName(controlName(YearCardCtl::Close));
    close->setAccessibleName(closeText);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    // The whole year at once where the screen has the room.
    // The frame, and the room of a scroll bar in case the screen is narrower after all.
    const int frame = 2 * table_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    table_->setMinimumSize(table_->verticalHeader()->sizeHint().width() +
                               table_->horizontalHeader()->length() + frame,
                           table_->horizontalHeader()->sizeHint().height() +
                               table_->verticalHeader()->length() + frame);
    QSize size = sizeHint();
    table_->setMinimumSize(0, 0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);

    // The report month, the newest row, is where a figure is checked against the others.
    table_->setCurrentCell(table_->rowCount() - 1, 0);
    table_->setFocus(Qt::OtherFocusReason);
}

} // namespace zadw
