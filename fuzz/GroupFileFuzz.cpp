// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the group file reader, then checks that a group that was read
// survives being written and read back.

#include "GroupRecord.h"
#include "GroupStore.h"
#include "MessageSink.h"
#include "ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace zadw;

class IgnoringSink : public MessageSink {
public:
    MsgAnswer present(const Message&) override {
        ++shown;
        return MsgAnswer::Ok;
    }
    int shown = 0;
};

[[noreturn]] void fail(const char* what, int pub = -1, std::size_t offset = 0) {
    if (pub >= 0) {
        std::fprintf(stderr, "round trip: %s (record %d, offset %zu)\n", what, pub, offset);
    } else {
        std::fprintf(stderr, "round trip: %s\n", what);
    }
    std::abort();
}

void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::perror("open");
        std::abort();
    }
    while (size > 0) {
        const ssize_t w = ::write(fd, data, size);
        if (w <= 0) {
            std::perror("write");
            std::abort();
        }
        data += w;
        size -= static_cast<std::size_t>(w);
    }
    ::close(fd);
}

// Publisher record p as the file holds it: what a short file lacks reads as zeros.
GroupRecord inputRecord(const std::uint8_t* data, std::size_t size, int p) {
    GroupRecord rec{};
    const std::size_t start = kRecordSize * static_cast<std::size_t>(p);
    if (start < size) {
        std::memcpy(rec.bytes(), data + start, std::min(kRecordSize, size - start));
    }
    return rec;
}

bool hasZero(const GroupRecord& rec, std::size_t from, std::size_t width) {
    return std::memchr(rec.bytes() + from, 0, width) != nullptr;
}

// Which bytes of a publisher record must come back unchanged after load, save, load.
//
// The two kinds of text bytes the scrambling cannot carry (one that scrambles to 0, and one that
// scrambles to 0xCC in a field with the 0xCC exception) do not matter here: the first load has
// already folded them, and for a field whose run ends inside the field, scrambling what was
// unscrambled gives back bytes that unscramble to the same text. Offsets 0..121 (names, e-mail,
// phone1, each ended by a forced zero) and 160..335 (forced zero, July..December late flags up
// to the forced zero at 169, and the untouched numeric part) therefore always survive.
//
// Offsets 122..159 do not always: phone2 and phone3 have no terminator of their own, so a full
// phone2 runs on through phone3 and the January..June late flags. The runs are transformed in the
// same order both ways, each run's length taken from the bytes left by the runs before it, so a
// zero made in mid-run shortens a later run differently when scrambling and when unscrambling.
// When the file's phone2 and phone3 each hold a zero, the runs stay apart and this part survives
// as well.
void compareRecords(const GroupRecord& before, const GroupRecord& after, const GroupRecord& raw,
                    int pub) {
    const bool runsApart = hasZero(raw, offsetof(GroupRecord, phone2), sizeof raw.phone2) &&
                           hasZero(raw, offsetof(GroupRecord, phone3), sizeof raw.phone3);
    for (std::size_t i = 0; i < kRecordSize; ++i) {
        const bool overlapPart = i >= offsetof(GroupRecord, phone2) && i < 160;
        if ((runsApart || !overlapPart) && before.bytes()[i] != after.bytes()[i]) {
            fail("publisher record changed", pub, i);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder scratch;
    static const std::string inputPath = scratch.file("input.z08");
    static const std::string copyPath = scratch.file("copy.z18");
    writeInput(inputPath, data, size);

    IgnoringSink sink;
    GroupStore first(sink);
    first.setDurableWrites(false);
    if (!first.loadGroupFile(inputPath) || first.publisherCount < 2) {
        return 0;
    }
    if (!first.saveGroupFile(copyPath)) {
        fail("a loaded group could not be saved");
    }

    IgnoringSink quiet;
    GroupStore second(quiet);
    if (!second.loadGroupFile(copyPath) || second.lastLoadStatus() != LoadStatus::Loaded ||
        quiet.shown != 0) {
        fail("the saved file did not read back whole and without a message");
    }
    if (second.publisherCount != first.publisherCount || second.remarkCount != first.remarkCount ||
        second.groupNumber != first.groupNumber || second.reportMonth != first.reportMonth) {
        fail("header values changed");
    }
    // The header is never scrambled and its remark count is the one read.
    if (std::memcmp(first.record(0).bytes(), second.record(0).bytes(), kRecordSize) != 0) {
        fail("header record changed");
    }
    for (int p = 1; p <= first.publisherCount; ++p) {
        compareRecords(first.record(p), second.record(p), inputRecord(data, size, p), p);
    }
    for (int k = 1; k <= first.remarkCount; ++k) {
        if (std::memcmp(first.remarkSlot(k).text, second.remarkSlot(k).text, kRemarkSlotSize) !=
            0) {
            fail("remark slot changed");
        }
    }
    return 0;
}
