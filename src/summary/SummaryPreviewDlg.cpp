#include "SummaryPreviewDlg.h"

#include "MessageSink.h"
#include "PreviewPane.h"
#include "PrinterChoice.h"
#include "ReportsDlg.h"
#include "SummaryCells.h"
#include "SummaryPdf.h"
#include "TemplateBuilder.h"
#include "TotalsPage.h"

#include <QPrinter>
#include <QPushButton>

namespace zadw {
namespace {

constexpr int kTemplate = 115;
constexpr int kClose = 2;
constexpr int kPrint = 3;
constexpr int kPrintSetup = 129;
constexpr int kPane = 130;
constexpr int kPrevPage = 1004;
constexpr int kNextPage = 1005;

} // namespace

CSummaryPreviewDlg::CSummaryPreviewDlg(CReportsDlg& mainWindow, int month)
    : QDialog(&mainWindow), mainWindow_(mainWindow), shownMonth_(month),
      paging_(StartSummaryPaging(mainWindow.store.publisherCount)) {
    // A caption without a system menu or close box, as the template has it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildFromTemplate(this, kTemplate);
    setWindowTitle(QString::fromStdString(SummaryCaption(shownMonth_)));

    // The pane takes the place of the template's place holder, inside the etched frame.
    previewPane_ =
        new CPreviewPane([this](const ScreenMeasures& pane) { return DrawScreenPage(pane); }, this);
    if (QWidget* placeholder = control(this, kPane)) {
        previewPane_->setGeometry(placeholder->geometry());
        previewPane_->stackUnder(placeholder);
        delete placeholder;
    }
    previewPane_->setObjectName(QString::number(kPane));

    connect(control<QPushButton>(this, kClose), &QPushButton::clicked, this, &QDialog::reject);
    connect(control<QPushButton>(this, kPrint), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnPrintSummary);
    connect(control<QPushButton>(this, kPrintSetup), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnPrintSetup);
    connect(control<QPushButton>(this, kPrevPage), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnPrevPage);
    connect(control<QPushButton>(this, kNextPage), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnNextPage);

    UpdatePageButtons();
    control(this, kClose)->setFocus(Qt::OtherFocusReason);
}

std::vector<DrawOp> CSummaryPreviewDlg::DrawScreenPage(const ScreenMeasures& pane) const {
    const GroupStore& store = mainWindow_.store;
    if (paging_.totalsShown) {
        const GroupTotals totals = ComputeGroupTotals(store, shownMonth_, store.newFormActive);
        return DrawScreenTotalsPage(MakeTotalsBlock(totals), store.newFormActive, pane,
                                    store.languageTag);
    }
    return zadw::DrawScreenPage(mainWindow_.store, shownMonth_, pane, paging_.publishers.firstShown,
                                paging_.publishers.endShown);
}

void CSummaryPreviewDlg::UpdatePageButtons() {
    const PageButtons buttons = UpdateSummaryPageButtons(paging_);
    auto* prev = control<QPushButton>(this, kPrevPage);
    prev->setText(QString::fromStdString(buttons.prevCaption));
    prev->setVisible(buttons.prevShown);
    control(this, kNextPage)->setVisible(buttons.nextShown);
}

void CSummaryPreviewDlg::OnNextPage() {
    NextSummaryPage(paging_);
    UpdatePageButtons();
    previewPane_->update();
}

void CSummaryPreviewDlg::OnPrevPage() {
    PrevSummaryPage(paging_);
    UpdatePageButtons();
    previewPane_->update();
}

void CSummaryPreviewDlg::OnPrintSetup() {
    if (PrinterChoice* choice = mainWindow_.services().printer) {
        choice->setup(this);
    }
}

void CSummaryPreviewDlg::OnPrintSummary() {
    PrinterChoice* choice = mainWindow_.services().printer;
    QPrinter* printer = choice != nullptr ? choice->printer() : nullptr;
    if (printer == nullptr) {
        mainWindow_.messages().show("No Printer");
        return;
    }
    printer->setDocName(QString::fromStdString(PrintJobName(shownMonth_)));
    // The whole list, whatever screen page is shown; the page stays as it is.
    if (!PrintSummaryList(mainWindow_.store, shownMonth_, *printer)) {
        mainWindow_.messages().show("no hdc");
    }
}

} // namespace zadw
