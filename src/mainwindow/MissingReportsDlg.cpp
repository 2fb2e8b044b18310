// SPDX-License-Identifier: GPL-3.0-or-later
#include "MissingReportsDlg.h"

#include "MailSender.h"
#include "MessageSink.h"
#include "SendUpdates.h"
#include "Strings.h"
#include "Telephony.h"

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

constexpr int kList = 1600;
constexpr int kRemindAll = 1601;
constexpr int kDial = 1602;
constexpr int kCopyList = 1603;
constexpr int kClose = 2;

constexpr const char* kNoAddress = "–";
constexpr const char* kOriginator = "Zad";

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : separator) + p;
    }
    return out;
}

// Stands in when the program was started without a mail system: sending says so.
class NoMailSystem : public MailTransport {
public:
    MailSystemState probe() override { return MailSystemState::NotFound; }
    DeliveryResult deliver(const MailMessage&) override { return {SendOutcome::NotFound, {}}; }
};

QPushButton* button(QWidget* parent, int id, StringId textId) {
    const QString text = qs(LoadString(textId));
    // The first letter is the mnemonic; the accessible name is the text as it reads.
    auto* b = new QPushButton(QLatin1Char('&') + text, parent);
    b->setObjectName(QString::number(id));
    b->setAccessibleName(text);
    b->setAutoDefault(false); // Enter in the list must not send anything
    return b;
}

} // namespace

std::vector<MissingLine> CMissingReportsDlg::CollectMissing(const GroupStore& store) {
    std::vector<MissingLine> lines;
    for (int p = 1; p <= store.publisherCount; ++p) {
        if (!store.isMissing(p, store.reportMonth)) {
            continue;
        }
        const Contacts contacts = store.collectPhones(p);
        MissingLine line;
        line.pub = p;
        line.name = store.displayName(p, true);
        line.numbers.assign(contacts.numbers.begin(), contacts.numbers.begin() + contacts.count);
        line.address = contacts.reminderAddress;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string CMissingReportsDlg::ListText(const std::vector<MissingLine>& lines) {
    std::string text;
    for (const MissingLine& line : lines) {
        text += line.name + "\t" + joined(line.numbers, ", ") + "\t" +
                (line.address.empty() ? std::string(kNoAddress) : line.address) + "\n";
    }
    return text;
}

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
    list_->setObjectName(QString::number(kList));
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

    auto* remindAll = button(this, kRemindAll, StringId::RemindAllByMail);
    auto* dial = button(this, kDial, StringId::Dial);
    auto* copy = button(this, kCopyList, StringId::CopyList);
    auto* close = button(this, kClose, StringId::Close);
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
    item->setText(1, qs(joined(line.numbers, ", ")));
    std::string address = line.address.empty() ? std::string(kNoAddress) : line.address;
    if (line.reminded) {
        address += " (" + LoadString(StringId::Reminded) + ")";
    }
    item->setText(2, qs(address));
}

void CMissingReportsDlg::UpdateButtons() {
    bool anyAddress = false;
    for (const MissingLine& line : lines_) {
        anyAddress = anyAddress || !line.address.empty();
    }
    findChild<QPushButton*>(QString::number(kRemindAll))->setEnabled(anyAddress);
    const int row = list_->currentIndex().row();
    const bool canDial = row >= 0 && row < static_cast<int>(lines_.size()) &&
                         !lines_[static_cast<std::size_t>(row)].numbers.empty();
    findChild<QPushButton*>(QString::number(kDial))->setEnabled(canDial);
    findChild<QPushButton*>(QString::number(kCopyList))->setEnabled(!lines_.empty());
}

void CMissingReportsDlg::OnRemindAll() {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!lines_[i].address.empty()) {
            chosen.push_back(i);
        }
    }
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

    NoMailSystem none;
    MailSender sender(services_.mail != nullptr ? *services_.mail : none, messages());
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        list_->setFocus(Qt::OtherFocusReason);
        return;
    }
    // One message, as the single reminder reads, with everyone in Bcc so that no publisher
    // sees another's address. One address at a time, so a ";" in one cannot split it.
    sender.originatorName = kOriginator;
    bool accepted = true;
    for (const std::size_t i : chosen) {
        if (!sender.addBcc(lines_[i].address)) {
            accepted = false;
            break;
        }
    }
    sender.setSubject(kReminderSubject);
    sender.noteText = reminderText(m);
    // A refused address has been shown and refuses the whole message.
    const bool sent = accepted && sender.send(0);
    sender.release();
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
                messages().show("Telephone service not available");
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
