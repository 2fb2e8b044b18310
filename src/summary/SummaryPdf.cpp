#include "SummaryPdf.h"

#include "OpPainter.h"
#include "SummaryCells.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <memory>

namespace zadw {
namespace {

constexpr int kPdfResolution = 600;

// The toolkit's notes about the offscreen desktop are not for the user of a command.
void dropChatter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        qt_message_output(type, context, text);
    }
}

// A window-less run (zadw-tool) has no application object; fonts need one.
class GuiApplicationScope {
public:
    GuiApplicationScope() {
        if (QCoreApplication::instance() != nullptr) {
            return;
        }
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        previousHandler_ = qInstallMessageHandler(dropChatter);
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    ~GuiApplicationScope() {
        if (app_) {
            app_.reset();
            qInstallMessageHandler(previousHandler_);
        }
    }
    GuiApplicationScope(const GuiApplicationScope&) = delete;
    GuiApplicationScope& operator=(const GuiApplicationScope&) = delete;

    bool usable() const { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

private:
    static inline char name_[] = "zadw";
    static inline char* argv_[] = {name_, nullptr};
    static inline int argc_ = 1;
    QtMessageHandler previousHandler_ = nullptr;
    std::unique_ptr<QGuiApplication> app_;
};

bool fail(std::string* error, const std::string& why) {
    if (error != nullptr) {
        *error = why;
    }
    return false;
}

} // namespace

PrinterMeasures MeasuresOf(const QPaintDevice& device) {
    PrinterMeasures measures;
    measures.pixelsPerInchX = device.logicalDpiX();
    measures.pixelsPerInchY = device.logicalDpiY();
    // The header's line height is at least the height of the device's default font.
    measures.textHeight = QFontMetrics(QGuiApplication::font(), &device).height();
    return measures;
}

bool PrintSummaryList(GroupStore& store, int m, QPagedPaintDevice& device) {
    const std::vector<Page> pages = LayOutPrintedList(store, m, MeasuresOf(device));
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    OpPainter ops(painter, QGuiApplication::font());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        ops.paint(pages[i]);
    }
    painter.end();
    return true;
}

bool WriteSummaryPdf(GroupStore& store, int month, bool newForm, const std::string& pdfPath,
                     std::string* error) {
    if (month < 0 || month > 11) {
        return fail(error, "month " + std::to_string(month) + " is not 0 to 11");
    }
    GuiApplicationScope app;
    if (!app.usable()) {
        return fail(error, "needs a QGuiApplication");
    }
    // Written beside the target under a temporary name and renamed when complete.
    QSaveFile file(QString::fromStdString(pdfPath));
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(error, pdfPath + ": " + file.errorString().toStdString());
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QString::fromStdString(PrintJobName(month)));
        writer.setCreator(QStringLiteral("zadw"));
        const bool formBefore = store.newFormActive;
        store.newFormActive = newForm;
        painted = PrintSummaryList(store, month, writer);
        store.newFormActive = formBefore;
    }
    if (!painted) {
        file.cancelWriting();
        return fail(error, pdfPath + ": the PDF could not be started");
    }
    if (!file.commit()) {
        return fail(error, pdfPath + ": " + file.errorString().toStdString());
    }
    return true;
}

} // namespace zadw
