// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the JSON reader of `zadw-tool build`. What it accepts must reach the
// group file exactly: the file dumps back as the same JSON, and building again from that dump
// writes the same bytes.

#include "GroupJson.h"
#include "MessageSink.h"
#include "ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

using namespace zadw;

class IgnoringSink : public MessageSink {
public:
    MsgAnswer present(const Message&) override { return MsgAnswer::Ok; }
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "json round trip: %s\n", what);
    std::abort();
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes the group as `zadw-tool build` does; false when the store refuses it (too few
// publishers), which is not a fault of the reader.
bool save(const GroupContent& content, const std::string& path) {
    IgnoringSink sink;
    GroupStore store(sink);
    store.setDurableWrites(false);
    store.assign(content.header, content.publishers, content.remarks);
    if (!store.storageReady) {
        fail("the store could not take an accepted group");
    }
    if (store.publisherCount < 2) {
        return false;
    }
    if (!store.saveGroupFile(path)) {
        fail("an accepted group could not be saved");
    }
    return true;
}

std::string dump(const std::string& path) {
    IgnoringSink sink;
    GroupStore store(sink);
    if (!store.loadGroupFile(path) || store.lastLoadStatus() != LoadStatus::Loaded) {
        fail("a built file did not read back whole");
    }
    return dumpGroupJson(store);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder scratch;
    static const std::string firstPath = scratch.file("first.z08");
    static const std::string secondPath = scratch.file("second.z08");
    const std::string text(reinterpret_cast<const char*>(data), size);

    GroupContent content;
    JsonFault fault;
    if (!parseGroupJson(text, content, fault)) {
        if (fault.problem.empty()) {
            fail("a refusal without a reason");
        }
        return 0;
    }
    if (!save(content, firstPath)) {
        return 0;
    }
    const std::string dumped = dump(firstPath);

    // Key order and layout may differ from the input; the values may not.
    const nlohmann::json asGiven = nlohmann::json::parse(text, nullptr, false);
    if (asGiven.is_discarded() || asGiven != nlohmann::json::parse(dumped)) {
        fail("the built file does not dump back as the JSON it was built from");
    }

    GroupContent again;
    if (!parseGroupJson(dumped, again, fault)) {
        fail("a dump was refused");
    }
    if (!save(again, secondPath) || readBytes(firstPath) != readBytes(secondPath)) {
        fail("building from the dump wrote other bytes");
    }
    return 0;
}
