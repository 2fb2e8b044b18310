// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For the benchmarks: with ZADW_BENCH_EXIT_WHEN_SHOWN set, a window ends right after its first
// paint, past its own exit (so zadw saves nothing); a value with "/" names a file that gets the
// resident memory (VmRSS) in kB.

#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <memory>

namespace zadw {

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
        window_.QDialog::done(QDialog::Rejected);
    }

    QDialog& window_;
    QString rssPath_;
    bool seen_ = false;
};

inline std::unique_ptr<ExitWhenShown> exitWhenShownIfAsked(QDialog& window) {
    if (!qEnvironmentVariableIsSet("ZADW_BENCH_EXIT_WHEN_SHOWN")) {
        return nullptr;
    }
    return std::make_unique<ExitWhenShown>(window,
                                           qEnvironmentVariable("ZADW_BENCH_EXIT_WHEN_SHOWN"));
}

} // namespace zadw
