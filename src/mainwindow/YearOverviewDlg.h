// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Årsöversikt…": every publisher's twelve months with regularity and a regular pioneer's
// service year against the goal, the group's months as a chart, printing, a CSV file, and each
// publisher's year card.

#include "DialogTemplates.h"
#include "GroupStore.h"
#include "Services.h"
#include "YearOverview.h"

#include <QDialog>
#include <QPageLayout>
#include <vector>

class QCheckBox;
class QTableWidget;

namespace zadw {

class CYearChart;

// The window is laid out by Qt, not from a template; its controls are named by number all the same.
enum class YearOverviewCtl : int {
    Close = 2,
    Table = 1700,
    IrregularOnly = 1701,
    Chart = 1702,
    Print = 1703,
    SaveCsv = 1704,
    Heading = 1705,
};
template <> inline constexpr bool kIsControlIdEnum<YearOverviewCtl> = true;

class CYearOverviewDlg : public QDialog {
    Q_OBJECT

public:
    // The report month of store in year; goal: the hours of a regular pioneer's service year.
    // The store is only read.
    CYearOverviewDlg(const GroupStore& store, const Services& services, int year, int goal,
                     QWidget* parent = nullptr);

    const YearOverview& overview() const { return overview_; }
    QTableWidget* table() const { return table_; }
    CYearChart* chart() const { return chart_; }
    // The publishers on the table's rows, in order.
    const std::vector<int>& shownPublishers() const { return shown_; }

    void ShowRows();
    void OpenCard();
    void OnPrint();
    void OnSaveCsv();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MessageSink& messages() { return *services_.messages; }
    QString Title() const;

    const GroupStore& store_;
    Services services_;
    YearOverview overview_;
    std::vector<int> shown_;
    QTableWidget* table_ = nullptr;
    QCheckBox* filter_ = nullptr;
    CYearChart* chart_ = nullptr;
    // The overview's own paper: A4 landscape until the collector chooses otherwise.
    QPageLayout pageLayout_;
};

} // namespace zadw
