// SPDX-License-Identifier: GPL-3.0-or-later
#include "MissingReportsDlg.h"

#include "MailSender.h"
#include "MessageSink.h"
#include "SendUpdates.h"
#include "Strings.h"
#include "Telephony.h"
#include "TemplateBuilder.h"
#include "YearOverviewCells.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zadw {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QPushButton* button(QWidget* parent, MissingReportsCtl id, StringId textId) {
    const QString text = qs(LoadString(textId));
    // The first letter is the mnemonic; the accessible name is the text as it reads.
    auto* b = new QPushButton(QLatin1Char('&') + text, parent);
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
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    heading->setBuddy(list_);

    auto* remindAll = button(this, MissingReportsCtl::RemindAll, StringId::RemindAllByMail);
    auto* dial = button(this, MissingReportsCtl::Dial, StringId::Dial);
    auto* copy = button(this, MissingReportsCtl::CopyList, StringId::CopyList);
    auto* close = button(this, MissingReportsCtl::Close, StringId::Close);
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
    resize(sizeHint().expandedTo(QSize(560, 320)));

    // The first line, under the first heading, so that it can be rung at once.
    if (rows_.size() > 1) {
        list_->setCurrentItem(list_->topLevelItem(1));
    }
    UpdateButtons();
    list_->setFocus(Qt::OtherFocusReason);
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
    item->setToolTip(3, item->text(3)); // whole, where the column cuts it
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
