// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Saknade rapporter…": every publisher whose report of the month is missing, then those whose
// month holds only a remark, with the numbers to ring and the address to remind, and one
// reminder mail to all the missing at once.

#include "DialogTemplates.h"
#include "GroupStore.h"
#include "MissingReports.h"
#include "Services.h"

#include <QDialog>
#include <vector>

class QTreeWidget;

namespace zadw {

// The window is laid out by Qt, not from a template; its controls are named by number all the same.
enum class MissingReportsCtl : int {
    Close = 2,
    List = 1600,
    RemindAll = 1601,
    Dial = 1602,
    CopyList = 1603,
};
template <> inline constexpr bool kIsControlIdEnum<MissingReportsCtl> = true;

class CMissingReportsDlg : public QDialog {
    Q_OBJECT

public:
    // The report month's missing publishers of store, in file order. The store is only read.
    CMissingReportsDlg(const GroupStore& store, const Services& services,
                       QWidget* parent = nullptr);

    const std::vector<ChaseSection>& sections() const { return sections_; }
    QTreeWidget* lineList() const { return list_; }

    void OnRemindAll();
    void OnDial();
    void OnCopyList();

protected:
    // The columns share what room the list has, whenever it changes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What each column needs for its widest text, 0 for a hidden one.
    std::vector<int> ColumnWidths() const;
    void SizeToContents();
    void FitColumns();
    void ShowLine(int row);
    // The line on the current row; null on a heading or when none is current.
    const MissingLine* CurrentLine() const;
    void UpdateButtons();
    MessageSink& messages() { return *services_.messages; }

    const GroupStore& store_;
    Services services_;
    std::vector<ChaseSection> sections_;
    std::vector<ChaseRow> rows_; // what each row of the list shows
    QTreeWidget* list_ = nullptr;
    std::vector<int> wanted_; // ColumnWidths() at the start
};

} // namespace zadw
