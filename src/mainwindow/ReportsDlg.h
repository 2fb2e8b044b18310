// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main report window: the group's publishers, the month's status and every command.

#include "EntryContext.h"
#include "GroupStore.h"
#include "OpenGroupFile.h"
#include "Services.h"

#include <QDate>
#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QListWidget;

namespace zadw {

struct StartupInfo {
    StartupInfo(QString line, QDate date, std::string bytes = {})
        : commandLine(std::move(line)), today(date), commandLineBytes(std::move(bytes)) {}
    QString commandLine; // the program's arguments joined by single blanks
    QDate today;
    // The same arguments as the bytes the system gave; file names need not be UTF-8.
    std::string commandLineBytes;
};

class CReportsDlg : public QDialog {
    Q_OBJECT

public:
    CReportsDlg(const Services& services, const StartupInfo& startup, QWidget* parent = nullptr);
    ~CReportsDlg() override;

    void RefreshList();
    void UpdateSelection();
    void UpdateStatus();
    void OpenReportEntry();
    void LoadNewList();
    void ShowTips();
    void ShowAbout();
    // "Saknade rapporter…": the month's missing publishers, to ring or remind all at once.
    void ShowMissingReports();
    // "Årsöversikt…": every publisher's year, regularity and the pioneers' service year.
    void ShowYearOverview();
    // [Year] RegularPioneerGoal of the profile, read when first needed; a bad value is said once.
    int RegularPioneerGoal();
    // Ends the program as "Avsluta programmet" does; false when the collector chose to stay.
    bool ExitProgram();
    // Writes the group back to its ".z08" file as exit does; true when nothing is lost (written,
    // nothing to write, or read again from disk at the collector's word).
    bool WriteBack();
    // Start-up gave way: the file is open in another window (handed over) or elsewhere (refused).
    bool startupGaveWay() const { return startupGaveWay_; }
    OpenGroupFile& groupFile() { return group; }
    EntryContext& entryContext() { return entryContext_; }
    // The window comes to the front, as when a second start hands its file over.
    void BringToFront();

    const Services& services() const { return services_; }
    MessageSink& messages() { return *services_.messages; }
    QListWidget* publisherListBox() const { return publisherList; }
    // The folder zadw was started in; the file chooser comes back to it.
    const QString& startFolder() const { return startDirectory; }
    // Today's date when a command needs the date of its own run; unset: the date of start-up.
    void SetClock(std::function<QDate()> dateClock) { clock = std::move(dateClock); }

    // Rules of the date, kept apart so they can be checked for any day.
    static int reportMonthFor(const QDate& today);
    static bool newFormAtStart(const QDate& today, int reportMonth);
    static bool newFormAfterLoad(const QDate& today, int reportMonth);

public slots:
    void accept() override;
    void reject() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void InitDialog(const StartupInfo& startup);
    void OnFilterToggled();
    void OnNextNumber();
    void OnDial();
    void OnSendUpdates();
    void OnSummaryPreview();
    void OnSendReminder();
    void OnReminderPreview();
    void RunReportEntry(int pub);
    void ShowSystemMenu(const QPoint& at);
    // Nothing to ring, remind or open for: the contact controls are hidden.
    void ClearContacts();
    // The publisher selected in the list, when the contact controls show that very one; else 0.
    int ContactPublisher() const;
    // Before another list replaces the group: reports not yet sent are not dropped unasked.
    bool MayReplaceGroup();
    void UpdateSentLines();
    void DescribeDialButton();

public:
    void FocusList();
    int PublisherOnLine(int line) const;

private:
    void GroupReloaded();
    // A publisher's line in the list: the name, and a mark when the month holds only a remark.
    QString LineText(int pub) const;

    // The window's state; the dialogs it opens get the group through entryContext_.
    OpenGroupFile group;
    GroupStore& store;
    QListWidget* publisherList = nullptr;
    bool showUnreportedOnly = false;
    int selectedLine = 0;
    QString startDirectory;
    std::string lastEnteredName;
    std::array<std::string, 3> phoneNumbers;
    int phoneIndex = 0;
    int phoneCount = 0;
    std::string reminderAddress;
    int contactPub = 0; // whose numbers and address the contact controls hold
    QDate today;
    std::function<QDate()> clock;

    Services services_;
    EntryContext entryContext_;
    bool startupGaveWay_ = false;
    QAction* missingReportsAction_ = nullptr; // in the context menu, and its shortcut everywhere
    QAction* yearOverviewAction_ = nullptr;   // the same
    std::optional<int> regularPioneerGoal_;
};

} // namespace zadw
