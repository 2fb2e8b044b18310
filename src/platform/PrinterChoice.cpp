#include "PrinterChoice.h"

#include <QAbstractPrintDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace zadw {

QtPrinterChoice::QtPrinterChoice() = default;
QtPrinterChoice::~QtPrinterChoice() = default;

QPrinter* QtPrinterChoice::printer() {
    if (!printer_) {
        printer_ = defaultPrinter();
    }
    return printer_.get();
}

void QtPrinterChoice::setup(QWidget* parent) {
    if (QPrinter* current = printer()) {
        runSetupDialog(*current, parent);
        return;
    }
    // No printer yet: the dialog may still find one, or a PDF file. Kept only when confirmed.
    auto candidate = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (runSetupDialog(*candidate, parent)) {
        printer_ = std::move(candidate);
    }
}

std::unique_ptr<QPrinter> QtPrinterChoice::defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return nullptr;
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

bool QtPrinterChoice::runSetupDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // The whole list is always printed: no page ranges, no selection.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zadw
