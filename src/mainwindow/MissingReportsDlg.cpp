// SPDX-License-Identifier: GPL-3.0-or-later
#include "MissingReportsDlg.h"

#include "MailSender.h"
#include "MessageSink.h"
#include "SendUpdates.h"
#include "Strings.h"
#include "Telephony.h"
#include "TemplateBuilder.h"

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
    : QDialog(parent), store_(store), services_(services), lines_(CollectMissing(store)) {
    setWindowTitle(qs(TrimBlanks(LoadString(StringId::MissingReports))));
    const int m = store_.reportMonth;

    auto* heading = new QLabel(this);
    heading->setText(lines_.empty()
                         ? qs(LoadString(StringId::EveryoneReported))
                         : qs(FormatText(LoadString(StringId::MissingReportsFor), monthName(m))) +
                               QStringLiteral(" = ") + QString::number(lines_.size()));

    list_ = new QTreeWidget(this);
    list_->setObjectName(controlName(MissingReportsCtl::List));
    list_->setAccessibleName(heading->text());
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({qs(LoadString(StringId::NameHeading)),
                            qs(LoadString(StringId::PhoneHeading)),
                            qs(LoadString(StringId::MailHeading))});
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        list_->addTopLevelItem(new QTreeWidgetItem(list_));
        ShowLine(static_cast<int>(i));
    }
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

    if (!lines_.empty()) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    UpdateButtons();
    list_->setFocus(Qt::OtherFocusReason);
}

void CMissingReportsDlg::ShowLine(int row) {
    const MissingLine& line = lines_[static_cast<std::size_t>(row)];
    QTreeWidgetItem* item = list_->topLevelItem(row);
    item->setText(0, qs(line.name));
    item->setText(1, qs(NumbersText(line)));
    std::string address = AddressText(line);
    if (line.reminded) {
        address += " (" + LoadString(StringId::Reminded) + ")";
    }
    item->setText(2, qs(address));
}

void CMissingReportsDlg::UpdateButtons() {
    control<QPushButton>(this, MissingReportsCtl::RemindAll)
        ->setEnabled(!ReminderRecipients(lines_).empty());
    const int row = list_->currentIndex().row();
    const bool canDial = row >= 0 && row < static_cast<int>(lines_.size()) &&
                         !lines_[static_cast<std::size_t>(row)].numbers.empty();
    control<QPushButton>(this, MissingReportsCtl::Dial)->setEnabled(canDial);
    control<QPushButton>(this, MissingReportsCtl::CopyList)->setEnabled(!lines_.empty());
}

void CMissingReportsDlg::OnRemindAll() {
    const std::vector<std::size_t> chosen = ReminderRecipients(lines_);
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
        addresses.push_back(lines_[i].address);
    }
    NoMailSystem none;
    const bool sent = SendReminderToAll(addresses, m, messages(),
                                        services_.mail != nullptr ? *services_.mail : none);
    if (sent) {
        for (const std::size_t i : chosen) {
            lines_[i].reminded = true;
            ShowLine(static_cast<int>(i));
        }
    }
    list_->setFocus(Qt::OtherFocusReason);
}

void CMissingReportsDlg::OnDial() {
    const int row = list_->currentIndex().row();
    if (row >= 0 && row < static_cast<int>(lines_.size())) {
        const MissingLine& line = lines_[static_cast<std::size_t>(row)];
        if (!line.numbers.empty()) {
            const std::string party = store_.displayName(line.pub, false);
            if (services_.telephone != nullptr) {
                services_.telephone->dialNumber(line.numbers.front(), party, messages());
            } else {
                messages().show(kNoTelephoneService);
            }
        }
    }
    list_->setFocus(Qt::OtherFocusReason);
}

void CMissingReportsDlg::OnCopyList() {
    QApplication::clipboard()->setText(qs(ListText(lines_)));
    list_->setFocus(Qt::OtherFocusReason);
}

} // namespace zadw
