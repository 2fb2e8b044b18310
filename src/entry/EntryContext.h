// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the report-entry dialog works on, handed down by the window that opens it: the open group
// file (its store holds the layout language), today's date, the message seam, and how to tell the
// opener that the group changed.

#include "OpenGroupFile.h"

#include <QDate>
#include <functional>
#include <string>

namespace zadw {

struct EntryContext {
    EntryContext(OpenGroupFile& file, MessageSink& sink, std::string& lastName)
        : group(file), store(file.store), lastEnteredName(lastName), sink_(sink) {}

    OpenGroupFile& group;
    GroupStore& store;
    QDate today;
    std::string& lastEnteredName; // "Senast införda rapport"
    std::function<void()> statusChanged;
    std::function<void()> groupReloaded;
    // The hours of a regular pioneer's service year; unset: the usual goal.
    std::function<int()> regularPioneerGoal;

    MessageSink& messages() { return sink_; }
    void UpdateStatus() {
        if (statusChanged) {
            statusChanged();
        }
    }
    // A change is on disk at once; false when it could not be written (already said why).
    bool WriteBack() {
        const WriteBackResult result = group.saveChanges();
        if (result == WriteBackResult::Reloaded && groupReloaded) {
            groupReloaded();
        }
        return result != WriteBackResult::Failed;
    }

private:
    MessageSink& sink_;
};

} // namespace zadw
