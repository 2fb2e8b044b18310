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
#include <QShortcut>
#include <utility>

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
        new CPreviewPane([this](const ScreenMeasures& pane) { return DrawScreenPage(pane); },
                         [this] { return PageTable(); }, this);
    QWidget* placeholder = control(this, SummaryPreviewCtl::Pane);
    previewPane_->setGeometry(placeholder->geometry());
    previewPane_->stackUnder(placeholder);
    delete placeholder;
    previewPane_->setObjectName(controlName(SummaryPreviewCtl::Pane));
    QWidget::setTabOrder(control(this, SummaryPreviewCtl::PrintSetup), previewPane_);

    // The page buttons keep their arrows; a reader hears what they do.
    for (const auto& [id, name] :
         {std::pair{SummaryPreviewCtl::PrevPage, StringId::PreviousPageName},
          std::pair{SummaryPreviewCtl::NextPage, StringId::NextPageName}}) {
        QWidget* button = control(this, id);
        button->setAccessibleName(QString::fromStdString(LoadString(name)));
        button->setToolTip(button->accessibleName());
    }
    connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, this,
            &CSummaryPreviewDlg::OnNextPage);
    connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, this,
            &CSummaryPreviewDlg::OnPrevPage);

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

ScreenTable CSummaryPreviewDlg::PageTable() const {
    const GroupStore& store = store_;
    if (paging_.totalsShown) {
        const GroupTotals totals = ComputeGroupTotals(store, shownMonth_, store.newFormActive);
        return ScreenTotalsTable(MakeTotalsBlock(totals), store.newFormActive);
    }
    return ScreenPageTable(store_, shownMonth_, paging_.publishers.firstShown,
                           paging_.publishers.endShown);
}

QString CSummaryPreviewDlg::PageText() const {
    return QString::fromStdString(
        FormatArgs(LoadString(StringId::PageOfPages), {std::to_string(SummaryPageNumber(paging_)),
                                                       std::to_string(SummaryPageCount(paging_))}));
}

void CSummaryPreviewDlg::UpdatePageButtons() {
    const PageButtons buttons = SummaryPageButtons(paging_);
    auto* prev = control<QPushButton>(this, SummaryPreviewCtl::PrevPage);
    auto* next = control<QPushButton>(this, SummaryPreviewCtl::NextPage);
    // The page is told with the button, before the focus moves, so a reader says the new one.
    const QString page = PageText();
    prev->setAccessibleDescription(page);
    next->setAccessibleDescription(page);
    // A button with no page left hands the focus to its partner, which has one; a disabled
    // button stays in its place, so nothing else moves.
    prev->setEnabled(prev->isEnabled() || buttons.prevEnabled);
    next->setEnabled(next->isEnabled() || buttons.nextEnabled);
    if (focusWidget() == prev && !buttons.prevEnabled) {
        next->setFocus(Qt::TabFocusReason);
    } else if (focusWidget() == next && !buttons.nextEnabled) {
        prev->setFocus(Qt::TabFocusReason);
    }
    prev->setEnabled(buttons.prevEnabled);
    next->setEnabled(buttons.nextEnabled);
    previewPane_->ShowPage(page);
}

void CSummaryPreviewDlg::OnNextPage() {
    NextSummaryPage(paging_);
    UpdatePageButtons();
}

void CSummaryPreviewDlg::OnPrevPage() {
    PrevSummaryPage(paging_);
    UpdatePageButtons();
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
