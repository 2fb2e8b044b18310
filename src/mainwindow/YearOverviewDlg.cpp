// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearOverviewDlg.h"

#include "AtomicFile.h"
#include "FileChooser.h"
#include "MessageSink.h"
#include "PrinterChoice.h"
#include "Strings.h"
#include "TemplateBuilder.h"
#include "TextFit.h"
#include "YearCardDlg.h"
#include "YearChart.h"
#include "YearOverviewCells.h"
#include "YearOverviewLayout.h"
#include "YearOverviewPrint.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zadw {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// A text with its "&" mnemonic, as a screen reader should read it.
QString withoutMnemonic(const QString& text) {
    QString out = text;
    return out.remove(QLatin1Char('&'));
}

QPushButton* button(QWidget* parent, YearOverviewCtl id, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(controlName(id));
    b->setAccessibleName(withoutMnemonic(text));
    b->setAutoDefault(false); // Enter in the table opens the card, nothing else
    return b;
}

} // namespace

CYearOverviewDlg::CYearOverviewDlg(const GroupStore& store, const Services& services, int year,
                                   int goal, QWidget* parent)
    : QDialog(parent), store_(store), services_(services),
      overview_(ComputeYearOverview(store, store.reportMonth, year, goal)),
      pageLayout_(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()) {
    setWindowTitle(Title());

    auto* heading = new QLabel(this);
    heading->setObjectName(controlName(YearOverviewCtl::Heading));
    heading->setTextFormat(Qt::PlainText);
    heading->setText(qs(LongMonthYearText(overview_.group.front().date) + " \u2013 " +
                        LongMonthYearText(overview_.group.back().date) + "     " +
                        ServiceYearText(overview_.serviceYear) + "     " +
                        RegularityCountsText(overview_)));

    filter_ = new QCheckBox(qs(LoadString(StringId::IrregularOnly)), this);
    filter_->setObjectName(controlName(YearOverviewCtl::IrregularOnly));
    filter_->setAccessibleName(withoutMnemonic(filter_->text()));
    connect(filter_, &QCheckBox::toggled, this, [this] { ShowRows(); });

    table_ = new QTableWidget(0, kYearColumnCount, this);
    table_->setObjectName(controlName(YearOverviewCtl::Table));
    table_->setAccessibleName(windowTitle());
    table_->setAccessibleDescription(heading->text());
    QStringList headings;
    const std::vector<std::string> texts = YearHeadings(overview_);
    for (int k = 0; k < kYearColumnCount; ++k) {
        if (k >= kYearFirstMonthColumn && k < kYearServiceColumn) {
            // The month over its year, so that the columns stay narrow.
            const CalendarMonth date =
                overview_.group[static_cast<std::size_t>(k - kYearFirstMonthColumn)].date;
            headings << qs(ShortMonthName(date.month)) + QLatin1Char('\n') +
                            QString::number(date.year);
        } else {
            headings << qs(texts[static_cast<std::size_t>(k)]);
        }
    }
    table_->setHorizontalHeaderLabels(headings);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false); // Tab goes on to the next control
    table_->setWordWrap(false);
    table_->installEventFilter(this);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { OpenCard(); });

    chart_ = new CYearChart(overview_, this);
    chart_->setObjectName(controlName(YearOverviewCtl::Chart));

    auto* print = button(this, YearOverviewCtl::Print, qs(LoadString(StringId::PrintYearOverview)));
    auto* csv = button(this, YearOverviewCtl::SaveCsv, qs(LoadString(StringId::SaveAsCsv)));
    auto* close =
        button(this, YearOverviewCtl::Close, QLatin1Char('&') + qs(LoadString(StringId::Close)));
    connect(print, &QPushButton::clicked, this, &CYearOverviewDlg::OnPrint);
    connect(csv, &QPushButton::clicked, this, &CYearOverviewDlg::OnSaveCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(csv);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(filter_);
    layout->addWidget(table_, 3);
    layout->addWidget(chart_, 1);
    layout->addLayout(buttons);

    ShowRows();
    QSize size = sizeHint().expandedTo(QSize(table_->horizontalHeader()->length() + 40, 560));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
    table_->setFocus(Qt::OtherFocusReason);
}

QString CYearOverviewDlg::Title() const {
    return qs(YearOverviewTitle() + " \u2013 " + LoadString(StringId::Group) + " " +
              std::to_string(store_.groupNumber));
}

void CYearOverviewDlg::ShowRows() {
    const int row = table_->currentRow();
    const int current = row >= 0 && row < static_cast<int>(shown_.size())
                            ? shown_[static_cast<std::size_t>(row)]
                            : 0;
    const bool onlyFollowUp = filter_->isChecked();
    shown_.clear();
    table_->setRowCount(0);
    for (const PublisherYear& p : overview_.publishers) {
        if (onlyFollowUp && !NeedsFollowUp(p)) {
            continue;
        }
        const int r = table_->rowCount();
        table_->insertRow(r);
        const std::vector<std::string> cells = YearRow(p);
        for (int k = 0; k < kYearColumnCount; ++k) {
            QString text = qs(cells[static_cast<std::size_t>(k)]);
            auto* item = new QTableWidgetItem(k == kYearNameColumn ? ReadableText(text) : text);
            if (k >= kYearFirstMonthColumn) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (k >= kYearFirstMonthColumn && k < kYearServiceColumn) {
                const PublisherMonth& month =
                    p.months[static_cast<std::size_t>(k - kYearFirstMonthColumn)];
                if (month.remarkOnly) {
                    item->setToolTip(qs(store_.remarkOf(p.pub, month.slot)));
                }
            }
            table_->setItem(r, k, item);
        }
        shown_.push_back(p.pub);
    }
    const auto at = std::find(shown_.begin(), shown_.end(), current);
    if (!shown_.empty()) {
        table_->setCurrentCell(at == shown_.end() ? 0 : static_cast<int>(at - shown_.begin()), 0);
    }
}

void CYearOverviewDlg::OpenCard() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(shown_.size())) {
        return;
    }
    const int pub = shown_[static_cast<std::size_t>(row)];
    const auto it = std::find_if(overview_.publishers.begin(), overview_.publishers.end(),
                                 [pub](const PublisherYear& p) { return p.pub == pub; });
    CYearCardDlg card(store_, *it, overview_.serviceYear, this);
    card.exec();
    table_->setFocus(Qt::OtherFocusReason);
}

bool CYearOverviewDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenCard();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CYearOverviewDlg::OnPrint() {
    PrinterChoice* choice = services_.printer;
    QPrinter* printer = choice != nullptr ? choice->printer() : nullptr;
    const QString name = Title();
    QPageLayout before;
    if (printer == nullptr) {
        messages().show("No Printer");
        // A PDF serves where there is no printer, as for the summary list.
        if (choice == nullptr || !choice->setupToFile(this, name + QStringLiteral(".pdf"))) {
            table_->setFocus(Qt::OtherFocusReason);
            return;
        }
        printer = choice->printer();
        if (printer == nullptr) {
            return;
        }
        before = printer->pageLayout();
    } else {
        // The setup opens on the overview's own paper; the summary list keeps its own.
        before = printer->pageLayout();
        printer->setPageLayout(pageLayout_);
        if (!choice->setup(this)) {
            printer->setPageLayout(before);
            table_->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    pageLayout_ = printer->pageLayout();
    printer->setDocName(name);
    const YearPrint print{filter_->isChecked(), store_.groupNumber};
    const bool printed = PrintYearOverview(overview_, print, *printer);
    printer->setPageLayout(before);
    if (!printed) {
        messages().show("no hdc");
    }
    table_->setFocus(Qt::OtherFocusReason);
}

void CYearOverviewDlg::OnSaveCsv() {
    if (services_.files == nullptr) {
        return;
    }
    const CalendarMonth last = overview_.group.back().date;
    const QString fileName = QStringLiteral("%1 %2 %3 %4-%5.csv")
                                 .arg(qs(YearOverviewTitle()), qs(LoadString(StringId::Group)))
                                 .arg(store_.groupNumber)
                                 .arg(last.year)
                                 .arg(last.month + 1, 2, 10, QLatin1Char('0'));
    const QString folder =
        QFile::decodeName(QByteArray::fromStdString(folderOf(store_.groupFilePath)));
    const QString chosen = services_.files->chooseSaveFile(
        this, withoutMnemonic(qs(LoadString(StringId::SaveAsCsv))), QStringLiteral("CSV"),
        {QStringLiteral("*.csv")}, folder + QLatin1Char('/') + fileName);
    if (chosen.isEmpty()) {
        table_->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Written as the group file is, through no link, and never more readable than the group.
    const std::string path = QFile::encodeName(chosen).toStdString();
    const WriteOutcome written = writeFileAtomically(
        path, YearOverviewCsv(overview_, filter_->isChecked()), true, store_.groupFilePath);
    if (written.ok()) {
        messages().show(FormatText(LoadString(StringId::YearCsvSaved), chosen.toStdString()),
                        MsgButtons::Ok, MsgIcon::Information);
    } else {
        messages().show(saveFailureText(chosen.toStdString(), written));
    }
    table_->setFocus(Qt::OtherFocusReason);
}

} // namespace zadw
