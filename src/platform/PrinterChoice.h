// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer the summary list goes to. The choice belongs to the run, not to one preview: a
// printer chosen in print setup stays chosen for every later print until the program ends.

#include <memory>

class QPrinter;
class QString;
class QWidget;

namespace zadw {

class PrinterChoice {
public:
    virtual ~PrinterChoice() = default;
    // The chosen printer; the first time, the system's default printer. nullptr when nothing
    // has been chosen and there is no default.
    virtual QPrinter* printer() = 0;
    // Print setup: the collector picks the printer and its settings. Cancel keeps the choice.
    // True when confirmed.
    virtual bool setup(QWidget* parent) = 0;
    // Print setup for a run without any printer: it opens on printing to the PDF file fileName
    // in the user's documents folder. True when confirmed; then that is the choice.
    virtual bool setupToFile(QWidget* parent, const QString& fileName) = 0;
};

// One QPrinter for the whole run, set up with the toolkit's print dialog (which also offers
// printing to a PDF file, the way to get the list without a printer).
class QtPrinterChoice : public PrinterChoice {
public:
    QtPrinterChoice();
    ~QtPrinterChoice() override;

    QPrinter* printer() override;
    bool setup(QWidget* parent) override;
    bool setupToFile(QWidget* parent, const QString& fileName) override;

protected:
    // What the desktop has; tests replace these, since a real print dialog must never open there.
    // The system's default printer, or nullptr when there is none.
    virtual std::unique_ptr<QPrinter> defaultPrinter();
    // Shows the setup dialog on printer; true when confirmed, which is when it changes printer.
    // Its accept button reads "OK": it only chooses, it prints nothing.
    virtual bool runSetupDialog(QPrinter& printer, QWidget* parent);

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace zadw
