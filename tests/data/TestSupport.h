// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers for the core tests: a message recorder and scratch folders.

#include "GroupStore.h"
#include "MessageSink.h"

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zadw::test {

// Keeps every message shown and answers from a queue (OK, or No for a question, when empty).
class RecordingSink : public MessageSink {
public:
    MsgAnswer present(const Message& message) override {
        shown.push_back(message.text);
        icons.push_back(message.icon);
        defaults.push_back(message.defaultAnswer);
        std::vector<std::string> labels;
        for (const MsgAction& action : message.actions) {
            labels.push_back(action.label);
        }
        actionLabels.push_back(labels);
        // Press the queued action buttons (by label) before answering, at the first message
        // that has any.
        while (!actionPresses.empty() && !message.actions.empty()) {
            const std::string press = actionPresses.front();
            actionPresses.pop_front();
            for (const MsgAction& action : message.actions) {
                if (action.label == press && action.run) {
                    action.run();
                    if (action.closes) {
                        actionPresses.clear();
                        return MsgAnswer::Ok;
                    }
                }
            }
        }
        if (!answers.empty()) {
            const MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return message.buttons == MsgButtons::YesNo         ? MsgAnswer::No
               : message.buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel
                                                            : MsgAnswer::Ok;
    }
    std::vector<std::string> shown;
    std::vector<MsgIcon> icons;
    std::vector<MsgAnswer> defaults;
    std::vector<std::vector<std::string>> actionLabels;
    std::deque<MsgAnswer> answers;
    std::deque<std::string> actionPresses;
};

class ScratchDir {
public:
    ScratchDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zadw-test-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

} // namespace zadw::test
