// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest group a file can hold, as the benchmarks load, save, print and open it.

#include "GroupRecord.h"
#include "GroupStore.h"
#include "MessageSink.h"

#include <string>

namespace zadw::bench {

// Answers every message with OK and keeps the last one.
class QuietSink : public MessageSink {
public:
    MsgAnswer present(const Message& message) override {
        ++shown;
        last = message.text;
        return MsgAnswer::Ok;
    }
    int shown = 0;
    std::string last;
};

// 127 publishers, every text field full, twelve months of reports (the last four in the new
// form), report month November, and all 254 remark slots in use. Written without the sync to
// disk; false with the store's message in error.
bool writeLargestGroup(const std::string& path, std::string& error);

// A new folder under the system's temporary folder; empty (and said why) when none could be made.
std::string makeScratchFolder();

} // namespace zadw::bench
