// SPDX-License-Identifier: GPL-3.0-or-later
// What the open group file knows of what was sent: the state file, the count of publishers
// changed since, and where it starts afresh.
#include "GroupState.h"
#include "OpenGroupFile.h"
#include "Strings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zadw;
using namespace zadw::test;

namespace {

std::string groupBytes(int month, int hoursOfFirst = 0, int publishers = 3) {
    RecordingSink sink;
    GroupStore store(sink);
    GroupRecord head{};
    head.reportMonth = static_cast<std::uint8_t>(month);
    head.groupNumber = 4;
    std::vector<GroupRecord> people(static_cast<std::size_t>(publishers));
    for (int i = 0; i < publishers; ++i) {
        std::string name = "Person";
        name += std::to_string(i);
        setTextField(people[static_cast<std::size_t>(i)], TextField::LastName, name, nullptr);
    }
    people[0].hours[month] = static_cast<std::uint8_t>(hoursOfFirst);
    store.assign(head, people, {});
    std::string data;
    store.serialize(data);
    return data;
}

TEST(GroupStateFile, ReadsBackWhatItWroteAndRefusesAnythingElse) {
    GroupStateData state;
    state.groupPath = "/hem/k/Mina grupper/grupp%4\n.z08";
    state.reportMonth = 10;
    state.groupNumber = 255;
    state.fileDigest = 0xfedcba9876543210ULL;
    state.sentAt = 1796774400;
    state.lastEntered = "Åsa Ek";
    const std::string text = FormatGroupState(state);
    GroupStateData back;
    ASSERT_TRUE(ParseGroupState(text, back));
    EXPECT_EQ(back.groupPath, state.groupPath);
    EXPECT_EQ(back.reportMonth, 10);
    EXPECT_EQ(back.groupNumber, 255u);
    EXPECT_EQ(back.fileDigest, state.fileDigest);
    EXPECT_EQ(back.sentAt, state.sentAt);
    EXPECT_EQ(back.lastEntered, "Åsa Ek");

    // Damaged in any way: not understood, so the group starts afresh.
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    for (const std::string& damaged :
         {std::string(), text.substr(0, text.size() - 1), text.substr(0, text.size() / 2),
          replaced("zadw-group-state 1", "zadw-group-state 2"), replaced("month=10", "month=12"),
          replaced("month=10", "month=ten"), replaced("sent=", "sent=-"),
          replaced("digest=fedc", "digest=xedc"), replaced("last=", "extra=1\nlast="),
          text + "month=3\n", replaced("%25", "%2G")}) {
        GroupStateData untouched;
        EXPECT_FALSE(ParseGroupState(damaged, untouched)) << damaged;
    }
}

class SentState : public ::testing::Test {
public:
    ScratchDir dir;
    RecordingSink sink;
    std::time_t now = 1796774400; // 2026-12-08
    std::string path = dir.file("grupp4.z08");
    std::string stateFolder = dir.file("state");
    std::unique_ptr<OpenGroupFile> group;

    void SetUp() override { writeFile(path, groupBytes(10)); }
    // A start of the program on the file.
    void start() {
        group.reset();
        group = std::make_unique<OpenGroupFile>(
            sink, nullptr, BackupFolder(dir.file("backups")), [this] { return now; },
            GroupStateFolder(stateFolder));
        ASSERT_EQ(group->open(path, false), OpenResult::Loaded);
    }
    void store(int pub, int hours) {
        group->store.record(pub).hours[10] = static_cast<std::uint8_t>(hours);
        ASSERT_EQ(group->saveChanges(), WriteBackResult::Written);
    }
};

TEST_F(SentState, CountsThePublishersChangedSinceTheListOrTheLastSend) {
    start();
    EXPECT_EQ(group->changedSinceSent(), 0);
    EXPECT_EQ(group->sentAt(), 0);
    store(1, 7);
    store(1, 8); // the same publisher again
    EXPECT_EQ(group->changedSinceSent(), 1);
    group->store.setLateFlag(2, 9); // a late flag is a change like a figure
    EXPECT_EQ(group->changedSinceSent(), 2);
    std::string remark;
    const int slot = group->store.getRemark(3, 10, remark, false);
    ASSERT_TRUE(group->store.setRemark(3, 10, slot, "sjuk"));
    EXPECT_EQ(group->changedSinceSent(), 3);

    now += 60;
    group->recordSent();
    EXPECT_EQ(group->sentAt(), now);
    EXPECT_EQ(group->changedSinceSent(), 0);
    store(2, 4);
    EXPECT_EQ(group->changedSinceSent(), 1);
    // Back as it was sent is no change.
    store(2, 0);
    EXPECT_EQ(group->changedSinceSent(), 0);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(SentState, ALaterStartGoesOnWhereTheLastOneLeftOff) {
    start();
    store(1, 7); // entered, never sent
    group->setLastEntered("Person0");
    group->writeBack();
    start();
    // The report typed yesterday is still unsent today.
    EXPECT_EQ(group->changedSinceSent(), 1);
    EXPECT_EQ(group->lastEntered(), "Person0");
    group->recordSent();
    const std::time_t sent = now;
    now += 3600;
    start();
    EXPECT_EQ(group->sentAt(), sent);
    EXPECT_EQ(group->changedSinceSent(), 0);

    // The state and the group as sent are private to the collector.
    struct stat st {};
    ASSERT_EQ(::stat(GroupStateFolder(stateFolder).stateFileFor(canonicalPath(path)).c_str(), &st),
              0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(GroupStateFolder(stateFolder).baselineFor(canonicalPath(path)).c_str(), &st),
              0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(stateFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(SentState, ANewListStartsAfresh) {
    struct Case {
        const char* how;
        std::function<void(SentState&)> replace;
    };
    const Case cases[] = {
        {"next month's list over the file between two runs",
         [](SentState& t) {
             t.group.reset();
             writeFile(t.path, groupBytes(11));
             t.start();
         }},
        {"a corrected list of the same month between two runs",
         [](SentState& t) {
             t.group.reset();
             writeFile(t.path, groupBytes(10, 3));
             t.start();
         }},
        {"the same file chosen as a new list",
         [](SentState& t) { ASSERT_EQ(t.group->openNewList(t.path), OpenResult::Loaded); }},
        {"the file read as it is after a change outside (Ja)",
         [](SentState& t) {
             writeFile(t.path, groupBytes(10, 5));
             t.group->store.record(2).hours[10] = 1;
             t.sink.answers = {MsgAnswer::Yes};
             ASSERT_EQ(t.group->saveChanges(), WriteBackResult::Reloaded);
         }},
        {"a damaged state file",
         [](SentState& t) {
             t.group.reset();
             writeFile(GroupStateFolder(t.stateFolder).stateFileFor(canonicalPath(t.path)),
                       "zadw-group-state 1\npath=");
             t.start();
         }},
    };
    for (const Case& c : cases) {
        writeFile(path, groupBytes(10));
        start();
        store(1, 7);
        group->setLastEntered("Person0");
        group->recordSent();
        store(2, 4);
        c.replace(*this);
        EXPECT_EQ(group->sentAt(), 0) << c.how;
        EXPECT_EQ(group->changedSinceSent(), 0) << c.how;
        EXPECT_EQ(group->lastEntered(), "") << c.how;
    }
}

TEST_F(SentState, TheMonthsWorkIsKeptAsItEnds) {
    start();
    group->keepClosedCopy(); // nothing entered: nothing kept
    store(1, 7);
    group->keepClosedCopy();
    int closed = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.file("backups"))) {
        const std::string name = e.path().filename().string();
        if (name.size() > 11 && name.compare(name.size() - 11, 11, "-closed.z08") == 0) {
            ++closed;
            RecordingSink s;
            GroupStore copy(s);
            copy.loadGroupFile(e.path().string());
            EXPECT_EQ(copy.record(1).hours[10], 7);
        }
    }
    EXPECT_EQ(closed, 1);
}

TEST_F(SentState, AStateFolderThatCannotBeWrittenIsSaidOnceAndCountsGoOn) {
    writeFile(stateFolder, "not a folder");
    start();
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(
        sink.shown[0].rfind("Uppgifter om vad som har sänts kan inte sparas i " + stateFolder, 0),
        0u);
    store(1, 7);
    group->recordSent();
    store(2, 3);
    EXPECT_EQ(group->changedSinceSent(), 1);
    EXPECT_EQ(sink.shown.size(), 1u);
}

} // namespace
