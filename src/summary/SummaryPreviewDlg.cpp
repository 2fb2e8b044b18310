// SPDX-License-Identifier: GPL-3.0-or-later
#include "SummaryPreviewDlg.h"

#include "GroupStore.h"
#include "MessageSink.h"
#include "PreviewPane.h"
#include "PrinterChoice.h"
#include "Strings.h"
#include "SummaryCells.h"
#include "SummaryPdf.h"
#include "TemplateBuilder.h"
#include "TemplateSummaryPreview.h"
#include "TotalsPage.h"

#include <QPrinter>
#include <QPushButton>

namespace zadw {

CSummaryPreviewDlg::CSummaryPreviewDlg(GroupStore& store, MessageSink& messages,
                                       PrinterChoice* printer, int month, QWidget* parent)
    : QDialog(parent), store_(store), messages_(messages), printer_(printer), shownMonth_(month),
      paging_(StartSummaryPaging(store.publisherCount)) {
    // A caption without a system menu or close box, as the template has it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildFromTemplate(this, TemplateId::SummaryPreview);
    setWindowTitle(QString::fromStdString(SummaryCaption(shownMonth_)));

    // The pane takes the place of the template's place holder, inside the etched frame.
    previewPane_ =
        new CPreviewPane([this](const ScreenMeasures& pane) { return DrawScreenPage(pane); }, this);
    QWidget* placeholder = control(this, SummaryPreviewCtl::Pane);
    previewPane_->setGeometry(placeholder->geometry());
    previewPane_->stackUnder(placeholder);
    delete placeholder;
    previewPane_->setObjectName(controlName(SummaryPreviewCtl::Pane));

    connect(control<QPushButton>(this, SummaryPreviewCtl::Close), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(control<QPushButton>(this, SummaryPreviewCtl::Print), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnPrintSummary);
    connect(control<QPushButton>(this, SummaryPreviewCtl::PrintSetup), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnPrintSetup);
    connect(control<QPushButton>(this, SummaryPreviewCtl::PrevPage), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnPrevPage);
    connect(control<QPushButton>(this, SummaryPreviewCtl::NextPage), &QPushButton::clicked, this,
            &CSummaryPreviewDlg::OnNextPage);

    UpdatePageButtons();
    control(this, SummaryPreviewCtl::Close)->setFocus(Qt::OtherFocusReason);
}

std::vector<DrawOp> CSummaryPreviewDlg::DrawScreenPage(const ScreenMeasures& pane) const {
    const GroupStore& store = store_;
    if (paging_.totalsShown) {
        const GroupTotals totals = ComputeGroupTotals(store, shownMonth_, store.newFormActive);
        return DrawScreenTotalsPage(MakeTotalsBlock(totals), store.newFormActive, pane,
                                    store.language);
    }
    return zadw::DrawScreenPage(store_, shownMonth_, pane, paging_.publishers.firstShown,
                                paging_.publishers.endShown);
}

void CSummaryPreviewDlg::UpdatePageButtons() {
    const PageButtons buttons = UpdateSummaryPageButtons(paging_);
    auto* prev = control<QPushButton>(this, SummaryPreviewCtl::PrevPage);
    prev->setText(QString::fromStdString(buttons.prevCaption));
    prev->setVisible(buttons.prevShown);
    control(this, SummaryPreviewCtl::NextPage)->setVisible(buttons.nextShown);
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
    if (PrinterChoice* choice = printer_) {
        choice->setup(this);
    }
}

void CSummaryPreviewDlg::OnPrintSummary() {
    PrinterChoice* choice = printer_;
    QPrinter* printer = choice != nullptr ? choice->printer() : nullptr;
    if (printer == nullptr) {
        messages_.show("No Printer");
        // A PDF serves where there is no printer: setup offers one, and the list goes there.
        const QString pdfName = QString::fromStdString(PrintJobName(shownMonth_)) + ".pdf";
        if (choice == nullptr || !choice->setupToFile(this, pdfName)) {
            return;
        }
        printer = choice->printer();
        if (printer == nullptr) {
            return;
        }
    }
    printer->setDocName(QString::fromStdString(PrintJobName(shownMonth_)));
    // The whole list, whatever screen page is shown; the page stays as it is.
    if (!PrintSummaryList(store_, shownMonth_, *printer)) {
        messages_.show("no hdc");
    } else if (printer->outputFormat() == QPrinter::PdfFormat &&
               !printer->outputFileName().isEmpty()) {
        // A file, unlike paper, is not seen coming out: say where it went.
        messages_.show(FormatText(LoadString(StringId::SummarySavedAs),
                                  printer->outputFileName().toStdString()),
                       MsgButtons::Ok, MsgIcon::Information);
    }
}

} // namespace zadw
