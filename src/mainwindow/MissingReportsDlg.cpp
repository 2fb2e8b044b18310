// SPDX-License-Identifier: GPL-3.0-or-later
#include "MissingReportsDlg.h"

#include "MailSender.h"
#include "MessageSink.h"
#include "ScreenReader.h"
#include "SendUpdates.h"
#include "Strings.h"
#include "Telephony.h"
#include "TemplateBuilder.h"
#include "TextFit.h"
#include "YearOverviewCells.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace zadw {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QPushButton* button(QWidget* parent, MissingReportsCtl id, StringId textId) {
    const QString text = qs(LoadString(textId));
    // The accessible name is the text as it reads; the Alt keys are given out below.
    auto* b = new QPushButton(NoMnemonic(text), parent);
    b->setObjectName(controlName(id));
    b->setAccessibleName(text);
    b->setAutoDefault(false); // Enter in the list must not send anything
    return b;
}

} // namespace

CMissingReportsDlg::CMissingReportsDlg(const GroupStore& store, const Services& services,
                                       QWidget* parent)
    : QDialog(parent), store_(store), services_(services), sections_(CollectSections(store)),
      rows_(ChaseRows(sections_)) {
    setWindowTitle(qs(TrimBlanks(LoadString(StringId::MissingReports))));
    const int m = store_.reportMonth;
    const MonthCounts counts = store_.countMonth(m);

    auto* heading = new QLabel(this);
    if (sections_.empty()) {
        heading->setText(qs(LoadString(StringId::EveryoneReported)));
    } else {
        QString text = qs(FormatText(LoadString(StringId::MissingReportsFor), monthName(m))) +
                       QStringLiteral(" = ") + QString::number(counts.missing);
        if (counts.remarkOnly != 0) {
            text += QLatin1Char('\n') +
                    qs(FormatArgs(LoadString(StringId::RemarkOnlyFor),
                                  {monthName(m), std::to_string(counts.remarkOnly)}));
        }
        heading->setText(text);
    }

    list_ = new QTreeWidget(this);
    list_->setObjectName(controlName(MissingReportsCtl::List));
    list_->setAccessibleName(heading->text());
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    UseRoomyRows(list_);
    FollowSelection(list_);
    bool anyLate = false;
    for (const ChaseSection& section : sections_) {
        anyLate = anyLate || section.kind == ChaseKind::Late;
    }
    list_->setHeaderLabels(
        {qs(LoadString(StringId::NameHeading)), qs(LoadString(StringId::PhoneHeading)),
         qs(LoadString(StringId::MailHeading)),
         qs(LoadString(anyLate ? StringId::RemarkOrReportHeading : StringId::RemarkHeading)),
         qs(LoadString(StringId::RegularityHeading))});
    bool anyRemark = false;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        auto* item = new QTreeWidgetItem(list_);
        list_->addTopLevelItem(item);
        if (rows_[r].isHeading()) {
            // A heading reads across the columns and can be current, but never rung.
            item->setText(0, qs(sections_[rows_[r].section].heading));
            item->setFirstColumnSpanned(true);
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        } else {
            anyRemark = anyRemark || sections_[rows_[r].section].kind != ChaseKind::Missing;
            ShowLine(static_cast<int>(r));
        }
    }
    list_->setColumnHidden(3, !anyRemark);
    heading->setBuddy(list_);

    auto* remindAll = button(this, MissingReportsCtl::RemindAll, StringId::RemindAllByMail);
    auto* dial = button(this, MissingReportsCtl::Dial, StringId::Dial);
    auto* copy = button(this, MissingReportsCtl::CopyList, StringId::CopyList);
    auto* close = button(this, MissingReportsCtl::Close, StringId::Close);
    // An Alt key of its own for each button, in every language; Close first, as elsewhere.
    const QList<QPushButton*> keyed{close, remindAll, dial, copy};
    QStringList texts;
    for (const QPushButton* b : keyed) {
        texts << b->accessibleName();
    }
    const QStringList marked = WithUniqueMnemonics(texts);
    for (qsizetype i = 0; i < keyed.size(); ++i) {
        keyed[i]->setText(marked[i]);
    }
    connect(remindAll, &QPushButton::clicked, this, &CMissingReportsDlg::OnRemindAll);
    connect(dial, &QPushButton::clicked, this, &CMissingReportsDlg::OnDial);
    connect(copy, &QPushButton::clicked, this, &CMissingReportsDlg::OnCopyList);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remindAll);
    buttons->addWidget(dial);
    buttons->addWidget(copy);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    SizeToContents();
    list_->viewport()->installEventFilter(this);

    // The first line, under the first heading, so that it can be rung at once.
    if (rows_.size() > 1) {
        list_->setCurrentItem(list_->topLevelItem(1));
    }
    UpdateButtons();
    list_->setFocus(Qt::OtherFocusReason);
}

std::vector<int> CMissingReportsDlg::ColumnWidths() const {
    // The headings span the row: they ask for no column's width.
    std::vector<int> widths;
    for (int c = 0; c < list_->columnCount(); ++c) {
        int width = 0;
        if (!list_->isColumnHidden(c)) {
            width = list_->header()->sectionSizeHint(c);
            for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
                if (!rows_[static_cast<std::size_t>(r)].isHeading()) {
                    width = std::max(width,
                                     list_->sizeHintForIndex(list_->model()->index(r, c)).width());
                }
            }
        }
        widths.push_back(width);
    }
    return widths;
}

void CMissingReportsDlg::SizeToContents() {
    wanted_ = ColumnWidths();
    for (int c = 0; c < list_->columnCount(); ++c) {
        list_->header()->resizeSection(c, wanted_[static_cast<std::size_t>(c)]);
    }
    // Every line and column as the desktop's font needs them, but never past the screen: the
    // window's frame and title take their share of it.
    list_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    const QSize wanted =
        sizeHint() + QSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), 0);
    list_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustIgnored);
    const QScreen* shown = parentWidget() != nullptr ? parentWidget()->screen() : screen();
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QSize room = shown->availableGeometry().size() - QSize(2 * title, 3 * title);
    resize(wanted.expandedTo(QSize(560, 320)).boundedTo(room));
}

void CMissingReportsDlg::FitColumns() {
    // Each column keeps its widest text while the window has room; otherwise the widest ones
    // give way alike, and what they cut short is in the tooltip.
    std::vector<int> widths = wanted_;
    int room = list_->viewport()->width();
    std::vector<std::size_t> order(widths.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return widths[a] < widths[b]; });
    std::size_t left = static_cast<std::size_t>(
        std::count_if(widths.begin(), widths.end(), [](int w) { return w > 0; }));
    for (const std::size_t c : order) {
        if (widths[c] == 0) {
            continue;
        }
        const int share = room / static_cast<int>(std::max<std::size_t>(left, 1));
        widths[c] = std::min(widths[c], share);
        room -= widths[c];
        --left;
    }
    for (int c = 0; c < list_->columnCount(); ++c) {
        list_->header()->resizeSection(c, widths[static_cast<std::size_t>(c)]);
    }
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        if (rows_[static_cast<std::size_t>(r)].isHeading()) {
            continue;
        }
        QTreeWidgetItem* item = list_->topLevelItem(r);
        for (int c = 0; c < list_->columnCount(); ++c) {
            const bool cut = list_->sizeHintForIndex(list_->model()->index(r, c)).width() >
                             widths[static_cast<std::size_t>(c)];
            item->setToolTip(c, cut ? item->text(c) : QString());
        }
    }
}

bool CMissingReportsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::Resize) {
        FitColumns();
    }
    return QDialog::eventFilter(watched, event);
}

void CMissingReportsDlg::ShowLine(int row) {
    const ChaseRow& at = rows_[static_cast<std::size_t>(row)];
    const MissingLine& line = sections_[at.section].lines[static_cast<std::size_t>(at.line)];
    QTreeWidgetItem* item = list_->topLevelItem(row);
    item->setText(0, qs(line.name));
    item->setText(1, qs(NumbersText(line)));
    std::string address = AddressText(line);
    if (line.reminded) {
        address += " (" + LoadString(StringId::Reminded) + ")";
    }
    item->setText(2, qs(address));
    // A late report's month and figures stand where a remark would.
    item->setText(3, qs(line.figures.empty() ? line.remark : line.figures));
    // Whether the missing report is a habit or a slip.
    item->setText(4, qs(RegularityText(RegularityOf(store_, line.pub, store_.reportMonth))));
}

const MissingLine* CMissingReportsDlg::CurrentLine() const {
    const int row = list_->currentIndex().row();
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return nullptr;
    }
    const ChaseRow& at = rows_[static_cast<std::size_t>(row)];
    return at.isHeading() ? nullptr
                          : &sections_[at.section].lines[static_cast<std::size_t>(at.line)];
}

void CMissingReportsDlg::UpdateButtons() {
    const ChaseSection* missing = MissingSection(sections_);
    control<QPushButton>(this, MissingReportsCtl::RemindAll)
        ->setEnabled(missing != nullptr && !ReminderRecipients(missing->lines).empty());
    const MissingLine* line = CurrentLine();
    control<QPushButton>(this, MissingReportsCtl::Dial)
        ->setEnabled(line != nullptr && !line->numbers.empty());
    control<QPushButton>(this, MissingReportsCtl::CopyList)->setEnabled(!sections_.empty());
}

void CMissingReportsDlg::OnRemindAll() {
    // Only the missing are reminded: a remark already explains the month.
    const ChaseSection* missing = MissingSection(sections_);
    const std::vector<std::size_t> chosen =
        missing != nullptr ? ReminderRecipients(missing->lines) : std::vector<std::size_t>{};
    if (chosen.empty()) {
        return;
    }
    const int m = store_.reportMonth;
    const std::string question = FormatArgs(LoadString(StringId::RemindAllQuestion),
                                            {monthName(m), std::to_string(chosen.size())});
    if (messages().ask(question, MsgAnswer::No) != MsgAnswer::Yes) {
        list_->setFocus(Qt::OtherFocusReason);
        return;
    }

    std::vector<std::string> addresses;
    for (const std::size_t i : chosen) {
        addresses.push_back(missing->lines[i].address);
    }
    NoMailSystem none;
    const bool sent = SendReminderToAll(addresses, m, messages(),
                                        services_.mail != nullptr ? *services_.mail : none);
    if (sent) {
        messages().show(
            FormatText(LoadString(StringId::RemindedCount), std::to_string(addresses.size())),
            MsgButtons::Ok, MsgIcon::Information);
        auto& lines = sections_[static_cast<std::size_t>(missing - sections_.data())].lines;
        for (const std::size_t i : chosen) {
            lines[i].reminded = true;
        }
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            if (!rows_[r].isHeading() && &sections_[rows_[r].section] == missing) {
                ShowLine(static_cast<int>(r));
            }
        }
        // "(påmind)" widens the addresses.
        wanted_ = ColumnWidths();
        FitColumns();
    }
    list_->setFocus(Qt::OtherFocusReason);
}

void CMissingReportsDlg::OnDial() {
    if (const MissingLine* line = CurrentLine(); line != nullptr && !line->numbers.empty()) {
        const std::string party = store_.displayName(line->pub, false);
        if (services_.telephone != nullptr) {
            services_.telephone->dialNumber(line->numbers.front(), party, messages());
        } else {
            messages().show(kNoTelephoneService);
        }
    }
    list_->setFocus(Qt::OtherFocusReason);
}

void CMissingReportsDlg::OnCopyList() {
    QApplication::clipboard()->setText(qs(ListText(sections_)));
    list_->setFocus(Qt::OtherFocusReason);
}

} // namespace zadw
