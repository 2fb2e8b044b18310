// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up for the report-entry tests: small groups on disk, the main window on them, the
// entry dialog on top, and keys typed into whatever has the focus.

#include "GuiTestSupport.h"
#include "ReportEntryDlg.h"
#include "Strings.h"
#include "TemplateReportEntry.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstring>

namespace zadw::test {

constexpr int kReportMonth = 10; // November: the month before the days below
inline const QDate kNewFormDay{2026, 12, 8};
inline const QDate kOldFormDay{2015, 12, 8};

inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

inline GroupRecord person(const std::string& first, const std::string& last) {
    GroupRecord r{};
    setTextField(r, TextField::FirstName, first, nullptr);
    setTextField(r, TextField::LastName, last, nullptr);
    r.groupNumber = 3;
    return r;
}

// A regular pioneer in the report month.
inline GroupRecord pioneer(const std::string& first, const std::string& last) {
    GroupRecord r = person(first, last);
    r.monthStatus[kReportMonth] = 2;
    return r;
}

inline RemarkSlot remark(const std::string& text) {
    RemarkSlot s{};
    std::memcpy(s.text, text.data(), std::min<std::size_t>(text.size(), kMaxRemarkChars));
    return s;
}

inline bool sameBytes(const GroupRecord& a, const GroupRecord& b) {
    return std::memcmp(a.bytes(), b.bytes(), kRecordSize) == 0;
}

// The window really holds the keyboard: a dialog over an active owner counts as active for
// qWaitForWindowActive before the owner has let go of the focus.
inline bool becomesActive(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

inline QWidget* focused() {
    return QApplication::focusWidget();
}
// The entry control that has the focus; -1 when none has.
inline ReportEntryCtl focusedId() {
    return static_cast<ReportEntryCtl>(focused() != nullptr ? focused()->objectName().toInt() : -1);
}
inline QLineEdit* focusedEdit() {
    return qobject_cast<QLineEdit*>(focused());
}
inline void type(const QString& text) {
    QTest::keyClicks(focused(), text);
}
inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), key, modifiers);
}
inline void enter(int times = 1) {
    for (int i = 0; i < times; ++i) {
        press(Qt::Key_Return);
    }
}
inline void alt(Qt::Key key) {
    press(key, Qt::AltModifier);
}

struct EntryDesk {
    ScratchDir dir;
    std::unique_ptr<Desk> desk;
    std::unique_ptr<CReportsDlg> main;
    std::unique_ptr<CReportEntryDlg> entry;
    RecordingSink reloadSink;
    std::unique_ptr<GroupStore> reloaded;

    std::string path() const { return dir.file("Grupp.z08"); }

    void save(int reportMonth, const std::vector<GroupRecord>& people,
              const std::vector<RemarkSlot>& remarks = {}) {
        RecordingSink sink;
        GroupStore store(sink);
        GroupRecord head{};
        head.reportMonth = static_cast<std::uint8_t>(reportMonth);
        head.groupNumber = 3;
        store.assign(head, people, remarks);
        if (!store.saveGroupFile(path())) {
            qWarning("test group not written");
        }
    }

    CReportsDlg& openMain(QDate today = kNewFormDay) {
        close();
        desk = std::make_unique<Desk>();
        main = desk->open(qs(path()), today);
        return *main;
    }

    CReportEntryDlg& open(int pub, QDate today = kNewFormDay) {
        openMain(today);
        entry = std::make_unique<CReportEntryDlg>(main->entryContext(), pub, main.get());
        entry->show();
        if (!becomesActive(entry.get())) {
            qWarning("report entry did not become active");
        }
        return *entry;
    }

    void close() {
        entry.reset(); // before its owner
        main.reset();
        desk.reset();
    }

    GroupStore& reload() {
        reloaded = std::make_unique<GroupStore>(reloadSink);
        reloaded->loadGroupFile(path());
        return *reloaded;
    }

    QString text(ReportEntryCtl id) const {
        QWidget* w = control(entry.get(), id);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            return label->text();
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            return edit->text();
        }
        return qobject_cast<QPushButton*>(w)->text();
    }
    QString field(ReportEntryCtl id) const { return text(id); }
    bool visible(ReportEntryCtl id) const { return control(entry.get(), id)->isVisible(); }
    QString mainText(ReportsCtl id) const { return control<QLabel>(main.get(), id)->text(); }

    // The shown fields, or their labels, in tab order.
    QStringList fields() const {
        using enum ReportEntryCtl;
        return shown(
            {BooksOrPublications, BrochuresOrVideos, Hours, Magazines, ReturnVisits, BibleStudies});
    }
    QStringList labels() const {
        using enum ReportEntryCtl;
        return shown({BooksOrPublicationsLabel, BrochuresOrVideosLabel, HoursLabel, MagazinesLabel,
                      ReturnVisitsLabel, BibleStudiesLabel});
    }
    QStringList shown(std::initializer_list<ReportEntryCtl> ids) const {
        QStringList out;
        for (const ReportEntryCtl id : ids) {
            if (visible(id)) {
                out << text(id);
            }
        }
        return out;
    }
};

} // namespace zadw::test
