// SPDX-License-Identifier: GPL-3.0-or-later
#include "SummaryPdf.h"

#include "AtomicFile.h"
#include "OpPainter.h"
#include "SummaryCells.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
        // A PDF needs no display; a platform named for the desktop (xcb over ssh) would abort.
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    // The header's line height is at least the height of the list's own body font on the device,
    // never of the desktop's font, so a large desktop font changes nothing on paper.
    const Font body = PrintFont(measures.pixelsPerInchY, 100, false);
    measures.textHeight = QFontMetrics(ToolkitFont(body, QFont(), &device), &device).height();
    // The painter's origin is the top-left corner of the printable area.
    measures.pageWidth = device.width();
    measures.pageHeight = device.height();
    return measures;
}

bool PrintSummaryList(GroupStore& store, int m, QPagedPaintDevice& device) {
    const DeviceTextMeasure measure(&device, QGuiApplication::font());
    return PaintPages(LayOutPrintedList(store, m, MeasuresOf(device), measure), device);
}

bool PaintPages(const std::vector<Page>& pages, QPagedPaintDevice& device) {
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

namespace {

QPageSize PageSizeOf(Paper paper) {
    switch (paper) {
    case Paper::A5:
        return QPageSize(QPageSize::A5);
    case Paper::Letter:
        return QPageSize(QPageSize::Letter);
    case Paper::Legal:
        return QPageSize(QPageSize::Legal);
    case Paper::A4:
        break;
    }
    return QPageSize(QPageSize::A4);
}

} // namespace

bool WriteSummaryPdf(GroupStore& store, int month, bool newForm, const std::string& pdfPath,
                     std::string* error, const PaperChoice& paper) {
    if (month < 0 || month > 11) {
        return fail(error, "month " + std::to_string(month) + " is not 0 to 11");
    }
    GuiApplicationScope app;
    if (!app.usable()) {
        return fail(error, "needs a QGuiApplication");
    }
    const bool toStdout = pdfPath == "-";
    // Held until complete, then written as the group file is: through no link, complete or not
    // at all.
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly)) {
        return fail(error, pdfPath + ": " + buffer.errorString().toStdString());
    }
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(PageSizeOf(paper.size));
        writer.setPageOrientation(paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QString::fromStdString(PrintJobName(month)));
        writer.setCreator(QStringLiteral("zadw"));
        const bool formBefore = store.newFormActive;
        store.newFormActive = newForm;
        painted = PrintSummaryList(store, month, writer);
        store.newFormActive = formBefore;
    }
    if (!painted) {
        return fail(error, pdfPath + ": the PDF could not be started");
    }
    const QByteArray& bytes = buffer.data();
    if (toStdout) {
        const bool written =
            std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
                static_cast<std::size_t>(bytes.size()) &&
            std::fflush(stdout) == 0;
        return written || fail(error, "standard output: " + std::string(std::strerror(errno)));
    }
    const WriteOutcome written =
        writeFileAtomically(pdfPath, bytes.toStdString(), /*durable=*/true);
    if (written.result == WriteResult::NotRegularFile) {
        return fail(error, notRegularFileText(pdfPath, written.foundType));
    }
    if (!written.ok()) {
        return fail(error, pdfPath + ": " + std::strerror(written.error));
    }
    return true;
}

} // namespace zadw
