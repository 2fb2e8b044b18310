// zadw-bench-bare: the floor for zadw's start-up and memory, an empty dialog and nothing else.
// With --text the dialog shows one line of text, so it also pays for the font database, as
// every window with text does.
// ZADW_BENCH_EXIT_WHEN_SHOWN works as in zadw: end after the first paint; a value with "/" is a
// file for VmRSS in kB.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <memory>

namespace {

class ExitWhenShown : public QObject {
public:
    ExitWhenShown(QDialog& window, QString rssPath)
        : window_(window), rssPath_(std::move(rssPath)) {
        window.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, this, [this] { finish(); });
        }
        return false;
    }

private:
    void finish() {
        QFile status(QStringLiteral("/proc/self/status"));
        QFile out(rssPath_);
        if (rssPath_.contains(QLatin1Char('/')) && status.open(QIODevice::ReadOnly) &&
            out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmRSS:")) {
                    out.write(line.mid(6).trimmed().split(' ').value(0) + '\n');
                }
            }
        }
        window_.done(QDialog::Rejected);
    }

    QDialog& window_;
    QString rssPath_;
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.resize(400, 300);
    if (argc > 1 && QByteArray(argv[1]) == "--text") {
        auto* label = new QLabel(QStringLiteral("Rapporter över tjänst på fältet"), &dialog);
        label->move(20, 20);
    }
    std::unique_ptr<ExitWhenShown> benchExit;
    if (qEnvironmentVariableIsSet("ZADW_BENCH_EXIT_WHEN_SHOWN")) {
        benchExit = std::make_unique<ExitWhenShown>(
            dialog, qEnvironmentVariable("ZADW_BENCH_EXIT_WHEN_SHOWN"));
    }
    dialog.exec();
    return 0;
}
