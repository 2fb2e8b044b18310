// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The summary preview: one month's list of the main window's group, 18 publishers a screen page,
// with print setup and printing of the whole list.

#include "DrawOps.h"
#include "PreviewPaging.h"
#include "ScreenPage.h"

#include <QDialog>
#include <vector>

namespace zadw {

class CPreviewPane;
class GroupStore;
class MessageSink;
class PrinterChoice;

class CSummaryPreviewDlg : public QDialog {
    Q_OBJECT

public:
    // month: 0..11. The group is only read (remarks are looked up); print setup's choice lasts as
    // long as printer.
    CSummaryPreviewDlg(GroupStore& store, MessageSink& messages, PrinterChoice* printer, int month,
                       QWidget* parent = nullptr);

    int shownMonth() const { return shownMonth_; }
    const PreviewPaging& paging() const { return paging_.publishers; }
    const SummaryPaging& summaryPaging() const { return paging_; }
    // The last page, "Summa", after the publishers' pages.
    bool totalsShown() const { return paging_.totalsShown; }
    CPreviewPane* previewPane() const { return previewPane_; }

    // The screen page for a pane of this size, and the same page as a reader takes it.
    std::vector<DrawOp> DrawScreenPage(const ScreenMeasures& pane) const;
    ScreenTable PageTable() const;
    // "Sida 2 av 4".
    QString PageText() const;

    void UpdatePageButtons();
    void OnNextPage();
    void OnPrevPage();
    void OnPrintSetup();
    void OnPrintSummary();

private:
    GroupStore& store_;
    MessageSink& messages_;
    PrinterChoice* printer_;
    int shownMonth_;
    SummaryPaging paging_;
    CPreviewPane* previewPane_ = nullptr;
};

} // namespace zadw
