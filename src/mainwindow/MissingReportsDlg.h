// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Saknade rapporter…": every publisher whose report of the month is missing, with the numbers
// to ring and the address to remind, and one reminder mail to all of them at once.

#include "DialogTemplates.h"
#include "GroupStore.h"
#include "Services.h"

#include <QDialog>
#include <string>
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

struct MissingLine {
    int pub = 0;
    std::string name;                 // list form
    std::vector<std::string> numbers; // every usable number
    std::string address;              // the reminder address; empty when none is usable
    bool reminded = false;
};

class CMissingReportsDlg : public QDialog {
    Q_OBJECT

public:
    // The report month's missing publishers of store, in file order. The store is only read.
    CMissingReportsDlg(const GroupStore& store, const Services& services,
                       QWidget* parent = nullptr);

    static std::vector<MissingLine> CollectMissing(const GroupStore& store);
    // One publisher a line: name, numbers, address ("–" for none), separated by tabs.
    static std::string ListText(const std::vector<MissingLine>& lines);

    const std::vector<MissingLine>& lines() const { return lines_; }
    QTreeWidget* lineList() const { return list_; }

    void OnRemindAll();
    void OnDial();
    void OnCopyList();

private:
    void ShowLine(int row);
    void UpdateButtons();
    MessageSink& messages() { return *services_.messages; }

    const GroupStore& store_;
    Services services_;
    std::vector<MissingLine> lines_;
    QTreeWidget* list_ = nullptr;
};

} // namespace zadw
