// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportsDlg.h"

#include "AboutDlg.h"
#include "FileChooser.h"
#include "GroupFileLocks.h"
#include "MissingReportsDlg.h"
#include "ReportRules.h"
#include "Resources.h"
#include "ScreenReader.h"
#include "SettingsProfile.h"
#include "Strings.h"
#include "TemplateBuilder.h"
#include "TemplateReports.h"
#include "TextFit.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <dirent.h>
#include <unistd.h>

namespace zadw {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The file's name as the system spells it. A chooser hands back text, so a name that is not
// UTF-8 is found again among the folder's entries.
std::string nativePath(const QString& chosen) {
    const QByteArray encoded = QFile::encodeName(chosen);
    if (QFileInfo::exists(chosen) || ::access(encoded.constData(), F_OK) == 0) {
        return encoded.toStdString();
    }
    const QFileInfo info(chosen);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    if (DIR* dir = ::opendir(folder.constData())) {
        std::string found;
        while (const dirent* entry = ::readdir(dir)) {
            if (QFile::decodeName(QByteArray(entry->d_name)) == info.fileName()) {
                found = folder.toStdString() + "/" + entry->d_name;
                break;
            }
        }
        ::closedir(dir);
        if (!found.empty()) {
            return found;
        }
    }
    return encoded.toStdString();
}

} // namespace

CReportsDlg::CReportsDlg(const Services& services, const StartupInfo& startup, QWidget* parent)
    : QDialog(parent),
      group(*services.messages, services.locks, BackupFolder(services.backupFolder), services.clock,
            GroupStateFolder(services.stateFolder)),
      store(group.store), today(startup.today), services_(services),
      entryContext_(group, *services.messages, lastEnteredName) {
    initResources();
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    buildFromTemplate(this, TemplateId::Reports);
    publisherList = control<QListWidget>(this, ReportsCtl::PublisherList);
    InitDialog(startup);
}

CReportsDlg::~CReportsDlg() = default;

int CReportsDlg::reportMonthFor(const QDate& today) {
    const int month = today.month() - 1;
    return month == 0 ? 11 : month - 1;
}

bool CReportsDlg::newFormAfterLoad(const QDate& today, int reportMonth) {
    return NewFormAfterLoad(today.year(), today.month() - 1, reportMonth);
}

bool CReportsDlg::newFormAtStart(const QDate& today, int reportMonth) {
    return NewFormAtStart(today.year(), today.month() - 1, reportMonth);
}

void CReportsDlg::InitDialog(const StartupInfo& startup) {
    connect(control<QPushButton>(this, ReportsCtl::EnterReport), &QPushButton::clicked, this,
            &CReportsDlg::OpenReportEntry);
    connect(control<QPushButton>(this, ReportsCtl::ExitProgram), &QPushButton::clicked, this,
            &CReportsDlg::reject);
    connect(control<QPushButton>(this, ReportsCtl::LoadNewList), &QPushButton::clicked, this,
            &CReportsDlg::LoadNewList);
    connect(control<QPushButton>(this, ReportsCtl::SendUpdates), &QPushButton::clicked, this,
            &CReportsDlg::OnSendUpdates);
    connect(control<QPushButton>(this, ReportsCtl::SummaryPreview), &QPushButton::clicked, this,
            &CReportsDlg::OnSummaryPreview);
    connect(control<QPushButton>(this, ReportsCtl::Dial), &QPushButton::clicked, this,
            &CReportsDlg::OnDial);
    connect(control<QPushButton>(this, ReportsCtl::NextNumber), &QPushButton::clicked, this,
            &CReportsDlg::OnNextNumber);
    connect(control<QPushButton>(this, ReportsCtl::Help), &QPushButton::clicked, this,
            &CReportsDlg::ShowTips);
    connect(control<QPushButton>(this, ReportsCtl::SendReminder), &QPushButton::clicked, this,
            &CReportsDlg::OnSendReminder);
    connect(control<QPushButton>(this, ReportsCtl::ReminderPreview), &QPushButton::clicked, this,
            &CReportsDlg::OnReminderPreview);
    connect(control<QCheckBox>(this, ReportsCtl::UnreportedOnly), &QCheckBox::clicked, this,
            &CReportsDlg::OnFilterToggled);
    connect(publisherList, &QListWidget::currentRowChanged, this, [this] { UpdateSelection(); });
    FollowSelection(publisherList);
    connect(publisherList, &QListWidget::itemDoubleClicked, this, [this] { OpenReportEntry(); });
    // The Menu key arrives as a context-menu event; Shift+F10 is a plain key under X11.
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(rect().center())); });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &CReportsDlg::ShowTips);
    control<QCheckBox>(this, ReportsCtl::UnreportedOnly)->setChecked(showUnreportedOnly);
    // A command beside the described buttons: reached from the context menu and by its key.
    missingReportsAction_ = new QAction(qs(LoadString(StringId::MissingReports)), this);
    missingReportsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    missingReportsAction_->setShortcutContext(Qt::WindowShortcut);
    connect(missingReportsAction_, &QAction::triggered, this, &CReportsDlg::ShowMissingReports);
    addAction(missingReportsAction_);
    yearOverviewAction_ = new QAction(qs(LoadString(StringId::YearOverviewCommand)), this);
    yearOverviewAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    yearOverviewAction_->setShortcutContext(Qt::WindowShortcut);
    connect(yearOverviewAction_, &QAction::triggered, this, &CReportsDlg::ShowYearOverview);
    addAction(yearOverviewAction_);
    entryContext_.regularPioneerGoal = [this] { return RegularPioneerGoal(); };

    // The group file: named on the command line, else the one in use last time. Only a pair of
    // quotes around the whole line is taken off; a name may hold quotes of its own.
    std::string candidate = startup.commandLineBytes.empty()
                                ? QFile::encodeName(startup.commandLine).toStdString()
                                : startup.commandLineBytes;
    if (candidate.size() >= 2 && candidate.front() == '"' && candidate.back() == '"') {
        candidate = candidate.substr(1, candidate.size() - 2);
    }
    if (!OpenGroupFile::isGroupFilePath(candidate)) {
        candidate =
            QFile::encodeName(services_.profile->readString(QStringLiteral("Last"),
                                                            QStringLiteral("LoadPath"), QString()))
                .toStdString();
    }
    // Relative to the folder zadw was started in, and remembered as the whole path.
    store.groupFilePath = absolutePath(candidate);
    store.storageReady = false;
    startDirectory = QDir::currentPath();
    store.language = CurrentLayoutLanguage();
    entryContext_.today = today;
    entryContext_.statusChanged = [this] { UpdateStatus(); };
    entryContext_.groupReloaded = [this] { GroupReloaded(); };
    if (auto* locks = dynamic_cast<GroupFileLocks*>(services_.locks)) {
        locks->onHandOver = [this] { BringToFront(); };
    }

    store.reportMonth = reportMonthFor(today);
    store.newFormActive = newFormAtStart(today, store.reportMonth);

    control(this, ReportsCtl::SendUpdates)->hide();
    control(this, ReportsCtl::SummaryPreview)->hide();
    control(this, ReportsCtl::UnreportedOnly)->hide();

    if (OpenGroupFile::isGroupFilePath(store.groupFilePath)) {
        const OpenResult opened = group.open(store.groupFilePath, true);
        if (opened == OpenResult::HandedOver || opened == OpenResult::Refused) {
            startupGaveWay_ = true; // this start neither reads nor writes the file
            return;
        }
        if (opened == OpenResult::Loaded || opened == OpenResult::NotLoaded) {
            if (newFormAfterLoad(today, store.reportMonth)) {
                store.newFormActive = true;
            }
            // The name belongs to this group's own state, not to whatever group was open last.
            lastEnteredName = group.lastEntered();
            RefreshList();
            UpdateStatus();
        }
    }
    showUnreportedOnly = false;
    FocusList();
}

int CReportsDlg::PublisherOnLine(int line) const {
    const QListWidgetItem* item = publisherList->item(line);
    return item != nullptr ? item->data(Qt::UserRole).toInt() : 0;
}

void CReportsDlg::FocusList() {
    publisherList->setFocus(Qt::OtherFocusReason);
}

QString CReportsDlg::LineText(int pub) const {
    // The mark follows the name, so typing a name still finds the line, and a reader says it.
    QString text = ReadableText(qs(store.displayName(pub, true)));
    if (store.monthState(pub, store.reportMonth) == MonthState::RemarkOnly) {
        text += qs(LoadString(StringId::RemarkOnlyMark));
    }
    return text;
}

void CReportsDlg::RefreshList() {
    {
        const QSignalBlocker block(publisherList);
        publisherList->clear();
        for (int p = 1; p <= store.publisherCount; ++p) {
            if (showUnreportedOnly && !store.isMissing(p, store.reportMonth)) {
                continue;
            }
            auto* item = new QListWidgetItem(LineText(p));
            item->setData(Qt::UserRole, p);
            publisherList->addItem(item);
        }
        if (selectedLine >= publisherList->count()) {
            selectedLine = 0;
        }
        publisherList->setCurrentRow(selectedLine);
    }
    FocusList();
    UpdateSelection();
}

void CReportsDlg::ClearContacts() {
    phoneNumbers = {};
    phoneCount = 0;
    phoneIndex = 0;
    reminderAddress.clear();
    contactPub = 0;
    control(this, ReportsCtl::Dial)->hide();
    auto* number = control<QLabel>(this, ReportsCtl::PhoneNumber);
    number->clear();
    number->hide();
    control(this, ReportsCtl::NextNumber)->hide();
    DescribeDialButton();
    control(this, ReportsCtl::SendReminder)->hide();
    control(this, ReportsCtl::ReminderPreview)->hide();
}

int CReportsDlg::ContactPublisher() const {
    const int line = publisherList->currentRow();
    if (contactPub == 0 || line < 0 || line >= publisherList->count()) {
        return 0;
    }
    return PublisherOnLine(line) == contactPub ? contactPub : 0;
}

void CReportsDlg::UpdateSelection() {
    // The controls always name the publisher selected now; with none, they offer nothing.
    const int line = publisherList->currentRow();
    auto* enter = control<QPushButton>(this, ReportsCtl::EnterReport);
    const bool selected = publisherList->count() > 0 && line >= 0;
    enter->setEnabled(selected);
    if (!selected || store.publisherCount < 2) {
        // One publisher's line keeps the plain caption; Enter still opens that report.
        SetButtonText(enter, QStringLiteral("OK"));
        ClearContacts();
        return;
    }
    selectedLine = line;
    const int p = PublisherOnLine(selectedLine);
    SetButtonText(
        enter, qs(FormatText(LoadString(StringId::EnterReportFor), store.displayName(p, false))));

    const Contacts contacts = store.collectPhones(p);
    phoneNumbers = contacts.numbers;
    phoneCount = contacts.count;
    reminderAddress = contacts.reminderAddress;
    phoneIndex = 0;
    contactPub = p;

    auto* number = control<QLabel>(this, ReportsCtl::PhoneNumber);
    if (phoneCount >= 1) {
        control(this, ReportsCtl::Dial)->show();
        SetLabelText(number, qs(phoneNumbers[0]));
        number->show();
    } else {
        control(this, ReportsCtl::Dial)->hide();
        number->clear();
        number->hide();
    }
    control(this, ReportsCtl::NextNumber)->setVisible(phoneCount > 1);
    DescribeDialButton();
    if (!reminderAddress.empty()) {
        SetButtonText(control<QPushButton>(this, ReportsCtl::SendReminder),
                      QStringLiteral("E-mail - ") + qs(reminderAddress));
        control(this, ReportsCtl::SendReminder)->show();
        control(this, ReportsCtl::ReminderPreview)->show();
    } else {
        control(this, ReportsCtl::SendReminder)->hide();
        control(this, ReportsCtl::ReminderPreview)->hide();
    }
}

void CReportsDlg::UpdateStatus() {
    const int m = store.reportMonth;
    setWindowTitle(qs(FormatText(LoadString(StringId::CollectingReportsFor), monthName(m))) +
                   QStringLiteral(" - ") + qs(LoadString(StringId::Group)) + QLatin1Char(' ') +
                   QString::number(store.groupNumber) + QLatin1Char(' '));
    const MonthCounts counts = store.countMonth(m);
    control<QLabel>(this, ReportsCtl::MissingCount)
        ->setText(qs(FormatText(LoadString(StringId::MissingReportsFor), monthName(m))) +
                  QStringLiteral(" = ") + QString::number(counts.missing));
    auto* remarkOnly = control<QLabel>(this, ReportsCtl::RemarkOnlyCount);
    remarkOnly->setText(qs(FormatArgs(LoadString(StringId::RemarkOnlyFor),
                                      {monthName(m), std::to_string(counts.remarkOnly)})));
    remarkOnly->setVisible(counts.remarkOnly != 0);
    // A report or remark just entered may have changed a line's mark.
    for (int line = 0; line < publisherList->count(); ++line) {
        QListWidgetItem* item = publisherList->item(line);
        const QString text = LineText(PublisherOnLine(line));
        if (item->text() != text) {
            item->setText(text);
        }
    }
    control<QLabel>(this, ReportsCtl::PublisherCount)
        ->setText(qs(LoadString(StringId::PublisherTotal)) + QStringLiteral(" = ") +
                  QString::number(store.publisherCount));
    // Kept with the group, and shown only while that publisher is in it.
    group.setLastEntered(lastEnteredName);
    bool inGroup = false;
    for (int p = 1; p <= store.publisherCount && !inGroup && !lastEnteredName.empty(); ++p) {
        inGroup = store.displayName(p, false) == lastEnteredName;
    }
    SetLabelText(control<QLabel>(this, ReportsCtl::LastEntered),
                 inGroup ? qs(lastEnteredName) : QString());
    UpdateSentLines();
    publisherList->setAccessibleName(windowTitle());
    const bool haveLines = publisherList->count() > 0;
    control(this, ReportsCtl::SendUpdates)->setVisible(haveLines);
    control(this, ReportsCtl::SummaryPreview)->setVisible(haveLines);
    control(this, ReportsCtl::UnreportedOnly)->setVisible(store.publisherCount != 0);
}

void CReportsDlg::UpdateSentLines() {
    auto* sent = control<QLabel>(this, ReportsCtl::SentLine);
    auto* changed = control<QLabel>(this, ReportsCtl::ChangedLine);
    if (!store.storageReady || store.publisherCount == 0) {
        sent->clear();
        changed->hide();
        return;
    }
    if (group.sentAt() != 0) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(group.sentAt());
        // The date as the secretary's lists write it, in any language.
        const QString when = at.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        SetLabelText(sent,
                     qs(FormatText(LoadString(StringId::SentToSecretary), when.toStdString())));
    } else {
        SetLabelText(sent, qs(LoadString(StringId::NotSentYet)));
    }
    const int count = group.changedSinceSent();
    SetLabelText(changed,
                 qs(FormatText(LoadString(StringId::ChangedSinceSent), std::to_string(count))));
    changed->setVisible(count != 0);
}

void CReportsDlg::accept() {
    OpenReportEntry();
}

void CReportsDlg::OpenReportEntry() {
    if (publisherList->count() == 0) {
        return;
    }
    const int line = publisherList->currentRow();
    if (line < 0) {
        return;
    }
    selectedLine = line;
    RunReportEntry(PublisherOnLine(line));
    // However the dialog ended: a remark it wrote may already have made the publisher reported.
    UpdateStatus();
    if (showUnreportedOnly) {
        RefreshList();
    } else {
        UpdateSelection();
        FocusList();
    }
}

bool CReportsDlg::WriteBack() {
    const WriteBackResult result = group.writeBack();
    if (result == WriteBackResult::Reloaded) {
        GroupReloaded();
    }
    return result != WriteBackResult::Failed;
}

void CReportsDlg::GroupReloaded() {
    // The file as it is on disk now; what was in the window went to the backup folder first,
    // and the report last entered there is not in the group any more.
    if (newFormAfterLoad(clock ? clock() : today, store.reportMonth)) {
        store.newFormActive = true;
    }
    lastEnteredName = group.lastEntered();
    RefreshList();
    UpdateStatus();
}

void CReportsDlg::BringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void CReportsDlg::reject() {
    ExitProgram();
}

bool CReportsDlg::ExitProgram() {
    if (!WriteBack() &&
        messages().ask(LoadString(StringId::ExitWithoutSaving), MsgAnswer::No) != MsgAnswer::Yes) {
        FocusList(); // everything entered stays in memory
        return false;
    }
    group.keepClosedCopy(); // the month's work as it ends, among the backups
    if (store.storageReady) {
        store.releaseStorage();
    }
    group.releaseLock();
    SettingsProfile& profile = *services_.profile;
    // Both keys are written, even when empty.
    bool written =
        profile.writeString(QStringLiteral("Last"), QStringLiteral("LoadPath"),
                            QFile::decodeName(QByteArray::fromStdString(store.groupFilePath)));
    written =
        profile.writeString(QStringLiteral("Last"), QStringLiteral("Post"), qs(lastEnteredName)) &&
        written;
    if (!written) {
        messages().show(
            FormatText(LoadString(StringId::SettingsNotSaved), profile.location().toStdString()));
    }
    QDialog::done(QDialog::Rejected);
    return true;
}

void CReportsDlg::OnFilterToggled() {
    showUnreportedOnly = control<QCheckBox>(this, ReportsCtl::UnreportedOnly)->isChecked();
    RefreshList();
}

void CReportsDlg::OnNextNumber() {
    if (phoneCount > 0) {
        phoneIndex = (phoneIndex + 1) % phoneCount;
        SetLabelText(control<QLabel>(this, ReportsCtl::PhoneNumber),
                     qs(phoneNumbers[static_cast<std::size_t>(phoneIndex)]));
        DescribeDialButton();
    }
    FocusList();
}

void CReportsDlg::DescribeDialButton() {
    // "Ring upp" is spoken with the number it rings.
    const QLabel* number = control<QLabel>(this, ReportsCtl::PhoneNumber);
    control(this, ReportsCtl::Dial)
        ->setAccessibleDescription(number->isVisibleTo(this) ? number->accessibleName()
                                                             : QString());
}

void CReportsDlg::OnReminderPreview() {
    messages().show(FormatText(LoadString(StringId::ReminderMail), monthName(store.reportMonth)));
    FocusList();
}

void CReportsDlg::ShowTips() {
    std::string tips;
    for (const StringId id : {StringId::TipsIntro, StringId::TipsOpenFile, StringId::TipsChooseName,
                              StringId::TipsEnterReport, StringId::TipsRemarksAndLateReport,
                              StringId::TipsChaseList, StringId::TipsDial, StringId::TipsMail,
                              StringId::TipsAttachByHand, StringId::TipsShortcuts}) {
        tips += LoadString(id);
    }
    messages().show(tips, MsgButtons::Ok, MsgIcon::Information);
    FocusList();
}

void CReportsDlg::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
    FocusList();
}

void CReportsDlg::ShowMissingReports() {
    if (store.storageReady && store.publisherCount > 0) {
        CMissingReportsDlg missing(store, services_, this);
        missing.exec();
    }
    FocusList();
}

void CReportsDlg::contextMenuEvent(QContextMenuEvent* event) {
    ShowSystemMenu(event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                               : mapToGlobal(rect().center()));
}

void CReportsDlg::ShowSystemMenu(const QPoint& at) {
    const std::string aboutText = LoadString(StringId::AboutMenuItem);
    QMenu menu(this);
    if (store.storageReady && store.publisherCount > 0) {
        menu.addAction(missingReportsAction_);
        menu.addAction(yearOverviewAction_);
    }
    if (!aboutText.empty()) {
        menu.addSeparator();
        menu.addAction(qs(aboutText), this, &CReportsDlg::ShowAbout);
    }
    if (menu.isEmpty()) {
        return;
    }
    // The first command is highlighted however the menu opens, so a reader says it and Enter
    // runs it.
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            menu.setActiveAction(action);
            break;
        }
    }
    if (menu.exec(at) == nullptr) {
        FocusList();
    }
}

bool CReportsDlg::MayReplaceGroup() {
    const int changed = group.changedSinceSent();
    if (changed == 0) {
        return true;
    }
    // Kept before asking, so the question can say where; taken back unless it is needed.
    std::string copy = group.keepGroupCopy("unsent");
    Message question;
    question.text = FormatArgs(LoadString(StringId::UnsentBeforeNewList),
                               {std::to_string(changed), copy.empty() ? group.path() : copy});
    question.buttons = MsgButtons::YesNoCancel;
    question.icon = MsgIcon::Question;
    question.defaultAnswer = MsgAnswer::Yes;
    const MsgAnswer answer = messages().present(question);
    if (answer != MsgAnswer::No && !copy.empty()) {
        ::unlink(copy.c_str());
    }
    if (answer == MsgAnswer::Yes) {
        OnSendUpdates();
        // Only a group that has surely gone may give way without asking again.
        return group.changedSinceSent() == 0;
    }
    return answer == MsgAnswer::No;
}

void CReportsDlg::LoadNewList() {
    if (!MayReplaceGroup()) {
        FocusList();
        return;
    }
    const QDate date = clock ? clock() : today; // the date of this run, not of start-up
    QString initialFolder = startDirectory;
    const QString current = QFile::decodeName(QByteArray::fromStdString(store.groupFilePath));
    const int slash = current.lastIndexOf(QLatin1Char('/'));
    // Asked without opening it: opening a FIFO would wait for a writer.
    if (current.size() > 8 && ::access(store.groupFilePath.c_str(), R_OK) == 0 && slash > 1) {
        initialFolder = current.left(slash);
    }
    const QString chosen = services_.files->chooseExistingFile(
        this, qs(LoadString(StringId::ChooseGroupFileTitle)),
        qs(LoadString(StringId::GroupFileFilter)),
        {QStringLiteral("*.z08"), QStringLiteral("*.Z08")}, initialFolder);
    if (chosen.isEmpty()) {
        QDir::setCurrent(startDirectory);
        FocusList();
        return;
    }
    if (!chosen.endsWith(QStringLiteral(".z08")) && !chosen.endsWith(QStringLiteral(".Z08"))) {
        QDir::setCurrent(startDirectory);
        FocusList();
        return;
    }
    // The current group reaches its file first; a list that cannot be opened, or whose group
    // could not be saved first, leaves the current group as it is.
    const OpenResult opened = group.openNewList(absolutePath(nativePath(chosen)));
    if (opened == OpenResult::Refused) {
        QDir::setCurrent(startDirectory);
        FocusList();
        return;
    }
    if (newFormAfterLoad(date, store.reportMonth)) {
        store.newFormActive = true;
    }
    RefreshList();
    lastEnteredName.clear();
    UpdateStatus();
    QDir::setCurrent(startDirectory);
    FocusList();
}

} // namespace zadw
