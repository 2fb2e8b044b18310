// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrinterChoice.h"

#include <QAbstractPrintDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

namespace zadw {

QtPrinterChoice::QtPrinterChoice() = default;
QtPrinterChoice::~QtPrinterChoice() = default;

QPrinter* QtPrinterChoice::printer() {
    if (!printer_) {
        printer_ = defaultPrinter();
    }
    return printer_.get();
}

bool QtPrinterChoice::setup(QWidget* parent) {
    if (QPrinter* current = printer()) {
        return runSetupDialog(*current, parent);
    }
    // No printer yet: the dialog may still find one, or a PDF file. Kept only when confirmed.
    auto candidate = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!runSetupDialog(*candidate, parent)) {
        return false;
    }
    printer_ = std::move(candidate);
    return true;
}

bool QtPrinterChoice::setupToFile(QWidget* parent, const QString& fileName) {
    auto candidate = std::make_unique<QPrinter>(QPrinter::HighResolution);
    candidate->setOutputFormat(QPrinter::PdfFormat);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    candidate->setOutputFileName(QDir(folder).filePath(fileName));
    if (!runSetupDialog(*candidate, parent)) {
        return false;
    }
    printer_ = std::move(candidate);
    return true;
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
    // The toolkit labels it "Print", yet setup prints nothing; set again once shown, in case
    // showing relabels it.
    const auto labelOk = [&dialog] {
        for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
            if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) {
                ok->setText(QStringLiteral("OK"));
            }
        }
    };
    labelOk();
    QTimer::singleShot(0, &dialog, labelOk);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zadw
