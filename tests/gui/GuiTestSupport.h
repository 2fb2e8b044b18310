// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test doubles for the desktop services, and helpers to drive windows as a collector would.

#include "FileChooser.h"
#include "GroupStore.h"
#include "ReportsDlg.h"
#include "Scramble.h"
#include "Services.h"
#include "SettingsProfile.h"
#include "TemplateBuilder.h"
#include "TemplateReports.h"

#include "../data/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace zadw::test {

class FakeFileChooser : public FileChooser {
public:
    QString chooseExistingFile(QWidget*, const QString& title, const QString& filterName,
                               const QStringList& patterns, const QString& initialFolder) override {
        ++calls;
        lastTitle = title;
        lastFilterName = filterName;
        lastPatterns = patterns;
        lastFolder = initialFolder;
        return next;
    }
    QString chooseSaveFile(QWidget*, const QString& title, const QString&, const QStringList&,
                           const QString& initialPath) override {
        ++saveCalls;
        lastTitle = title;
        lastSaveOffer = initialPath;
        return nextSave;
    }
    QString next; // empty: cancelled
    int calls = 0;
    QString lastTitle, lastFilterName, lastFolder;
    QStringList lastPatterns;
    QString nextSave; // where a save goes; empty: cancelled
    int saveCalls = 0;
    QString lastSaveOffer;
};

class MemoryProfile : public SettingsProfile {
public:
    QString readString(const QString& section, const QString& key,
                       const QString& fallback) override {
        return values.value(section + QLatin1Char('/') + key, fallback);
    }
    bool writeString(const QString& section, const QString& key, const QString& value) override {
        ++writes;
        if (failWrites) {
            return false;
        }
        values[section + QLatin1Char('/') + key] = value;
        return true;
    }
    QString location() const override { return QStringLiteral("/profile/zadw.ini"); }
    QMap<QString, QString> values;
    bool failWrites = false;
    int writes = 0;
};

// The time mail sent in the tests is dated (8 December 2026, noon UTC).
inline std::time_t mailClock() {
    return 1796731200;
}

// One set of doubles, and a way to start the main window on them.
struct Desk {
    RecordingSink messages;
    FakeFileChooser files;
    MemoryProfile profile;
    // What was sent, per group file: a desk of its own, unless a test hands one on (a restart).
    ScratchDir stateDir;
    std::string stateFolder = stateDir.file("state");
    Services services() {
        Services s;
        s.messages = &messages;
        s.files = &files;
        s.profile = &profile;
        s.clock = [] { return std::time(nullptr); };
        s.stateFolder = stateFolder;
        return s;
    }
    std::unique_ptr<CReportsDlg> open(const QString& commandLine,
                                      QDate today = QDate(2026, 12, 8)) {
        auto dlg = std::make_unique<CReportsDlg>(services(), StartupInfo{commandLine, today, {}});
        dlg->show();
        if (!QTest::qWaitForWindowActive(dlg.get())) {
            qWarning("main window did not become active");
        }
        return dlg;
    }
};

// Runs fn as soon as the next modal dialog is open (started before exec()).
inline void whenModalOpens(std::function<void(QWidget*)> fn) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, fn = std::move(fn)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            fn(modal);
        }
    });
    timer->start();
}

// What a button shows: "&&" is one "&", a single "&" underlines the next letter.
inline QString shownCaption(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

// Every visible text in the window fits its control; returns the first that does not.
inline QString firstClipped(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) {
            continue;
        }
        const QFontMetrics fm(w->font());
        const QString id = w->objectName();
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            const int room = b->width() -
                             2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) -
                             b->style()->pixelMetric(QStyle::PM_ButtonMargin);
            if (fm.horizontalAdvance(shownCaption(b->text())) > room) {
                return id + QLatin1Char(' ') + b->text();
            }
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            const int box = c->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                            c->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            if (box + fm.horizontalAdvance(c->text()) > c->width()) {
                return id + QLatin1Char(' ') + c->text();
            }
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            if (fm.horizontalAdvance(g->title()) > g->width()) {
                return g->title();
            }
        } else if (auto* l = qobject_cast<QLabel*>(w); l != nullptr && !l->text().isEmpty()) {
            const QRect room = l->contentsRect();
            if (!l->text().contains(QLatin1Char('\n')) &&
                fm.horizontalAdvance(l->text()) <= room.width() && fm.height() <= room.height()) {
                continue; // one line, and the line's leading is no part of its letters
            }
            const QRect need =
                fm.boundingRect(QRect(0, 0, room.width(), 100000),
                                (l->wordWrap() ? Qt::TextWordWrap : 0) | Qt::AlignLeft, l->text());
            if (need.width() > room.width() || need.height() > room.height()) {
                return QStringLiteral("%1 %2 needs %3x%4, has %5x%6")
                    .arg(id, l->text())
                    .arg(need.width())
                    .arg(need.height())
                    .arg(room.width())
                    .arg(room.height());
            }
        }
    }
    return {};
}

// A group file written through the store: publishers given as (first, last), report month m.
struct PublisherSpec {
    std::string first, last;
    std::string phone1, phone2, phone3, email;
    int hoursInReportMonth = 0;
};

inline void writeGroup(const std::string& path, int reportMonth, int group,
                       const std::vector<PublisherSpec>& people) {
    RecordingSink sink;
    GroupStore store(sink);
    GroupRecord head{};
    head.reportMonth = static_cast<std::uint8_t>(reportMonth);
    head.groupNumber = static_cast<std::uint8_t>(group);
    std::vector<GroupRecord> recs;
    for (const PublisherSpec& p : people) {
        GroupRecord r{};
        setTextField(r, TextField::FirstName, p.first, nullptr);
        setTextField(r, TextField::LastName, p.last, nullptr);
        setTextField(r, TextField::Phone1, p.phone1, nullptr);
        setTextField(r, TextField::Phone2, p.phone2, nullptr);
        setTextField(r, TextField::Phone3, p.phone3, nullptr);
        setTextField(r, TextField::Email, p.email, nullptr);
        r.hours[reportMonth] = static_cast<std::uint8_t>(p.hoursInReportMonth);
        recs.push_back(r);
    }
    store.assign(head, recs, {});
    if (recs.size() >= 2) {
        store.saveGroupFile(path);
    } else {
        // The store will not save fewer than two; write the bytes directly.
        std::string bytes(reinterpret_cast<const char*>(store.record(0).bytes()), kRecordSize);
        for (std::size_t i = 0; i < recs.size(); ++i) {
            GroupRecord r = recs[i];
            scrambleFields(r, +1);
            bytes.append(reinterpret_cast<const char*>(r.bytes()), kRecordSize);
        }
        writeFile(path, bytes);
    }
}

} // namespace zadw::test
