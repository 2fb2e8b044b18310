// SPDX-License-Identifier: GPL-3.0-or-later
// The open group file against real files in scratch folders: what is written when, what is kept
// in the backup folder, and which message a failure gives.
#include "OpenGroupFile.h"
#include "Strings.h"
#include "TestSupport.h"

#include <csignal>
#include <cstring>
#include <dirent.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zadw;
using namespace zadw::test;

namespace {

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Joined by appending: GCC 12 at -O3 warns falsely about "literal" + std::string.
std::string join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& p : parts) {
        out += p;
    }
    return out;
}

std::string stampOf(std::time_t t) {
    char b[32];
    std::tm local{};
    ::localtime_r(&t, &local);
    std::strftime(b, sizeof b, "%Y%m%d-%H%M%S", &local);
    return b;
}

std::string groupBytes(int publishers, int hoursOfFirst = 0) {
    RecordingSink sink;
    GroupStore store(sink);
    GroupRecord head{};
    head.reportMonth = 10;
    head.groupNumber = 4;
    std::vector<GroupRecord> people(static_cast<std::size_t>(publishers));
    for (int i = 0; i < publishers; ++i) {
        setTextField(people[static_cast<std::size_t>(i)], TextField::LastName,
                     join({"Person", std::to_string(i)}), nullptr);
    }
    people[0].hours[10] = static_cast<std::uint8_t>(hoursOfFirst);
    store.assign(head, people, {});
    std::string data;
    store.serialize(data);
    return data;
}

class OpenGroup : public ::testing::Test {
protected:
    ScratchDir dir;
    RecordingSink sink;
    std::time_t now = 1796774400; // 2026-12-08
    OpenGroupFile group{sink, nullptr, BackupFolder(dir.file("backups")), [this] { return now; }};
    std::string path = dir.file("grupp4.z08");

    void SetUp() override { writeFile(path, groupBytes(3)); }
    void enterHours(int h) {
        group.store.record(1).hours[10] = static_cast<std::uint8_t>(h);
        group.markChanged();
    }
    int hoursOnDisk() {
        RecordingSink s;
        GroupStore g(s);
        g.loadGroupFile(path);
        return g.record(1).hours[10];
    }
};

TEST_F(OpenGroup, ExitWritesOnlyWhatChanged) {
    ASSERT_EQ(group.open(path, false), OpenResult::Loaded);
    const FileIdentity before = identityOf(path);
    EXPECT_EQ(group.writeBack(), WriteBackResult::NothingToWrite);
    EXPECT_TRUE(identityOf(path) == before); // not even rewritten with the same bytes
    enterHours(7);
    EXPECT_EQ(group.writeBack(), WriteBackResult::Written);
    EXPECT_EQ(hoursOnDisk(), 7);
    EXPECT_EQ(group.writeBack(), WriteBackResult::NothingToWrite);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(OpenGroup, FileReplacedOnDiskAsksAndLosesNothingEitherWay) {
    struct Case {
        MsgAnswer answer;
        int hoursAfter;   // in memory after the write-back
        int hoursOnDisk;  // in the file
        const char* copy; // the safety copy besides the loaded ones
    };
    for (const Case c :
         {Case{MsgAnswer::Yes, 5, 5, "-unsaved.z08"}, Case{MsgAnswer::No, 9, 9, "-replaced.z08"}}) {
        ScratchDir d;
        RecordingSink s;
        OpenGroupFile g(s, nullptr, BackupFolder(d.file("backups")), [this] { return now; });
        const std::string p = d.file("grupp4.z08");
        writeFile(p, groupBytes(3));
        ASSERT_EQ(g.open(p, false), OpenResult::Loaded);
        // The secretary's new list is copied over the open file.
        ::usleep(10000);
        writeFile(p, groupBytes(3, 5));
        g.store.record(1).hours[10] = 9;
        s.answers.push_back(c.answer);
        const WriteBackResult r = g.saveChanges();
        EXPECT_EQ(r, c.answer == MsgAnswer::Yes ? WriteBackResult::Reloaded
                                                : WriteBackResult::Written);
        ASSERT_EQ(s.shown.size(), 1u);
        EXPECT_EQ(s.defaults[0], MsgAnswer::Yes);
        const std::string unsaved = d.file("backups") + "/grupp4-" + stampOf(now) + "-unsaved.z08";
        EXPECT_EQ(s.shown[0], FormatArgs(LoadString(StringId::FileChangedOnDisk), {p, unsaved}));
        EXPECT_EQ(g.store.record(1).hours[10], c.hoursAfter);
        RecordingSink quiet;
        GroupStore disk(quiet);
        disk.loadGroupFile(p);
        EXPECT_EQ(disk.record(1).hours[10], c.hoursOnDisk);
        // The group from zadw is kept whatever the answer; No also keeps the file it replaced.
        GroupStore kept(quiet);
        kept.loadGroupFile(unsaved);
        EXPECT_EQ(kept.record(1).hours[10], 9);
        bool found = false;
        for (const std::string& n : filesIn(d.file("backups"))) {
            found = found || n.find(c.copy) != std::string::npos;
        }
        EXPECT_TRUE(found) << c.copy;
    }
}

TEST_F(OpenGroup, VanishedFileIsWrittenAgain) {
    ASSERT_EQ(group.open(path, false), OpenResult::Loaded);
    ::unlink(path.c_str());
    EXPECT_EQ(group.writeBack(), WriteBackResult::Written);
    EXPECT_EQ(readFile(path).size(), groupBytes(3).size());
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(OpenGroup, DamagedFileIsKeptAndRewrittenOnlyAfterAnEntry) {
    std::string damaged = groupBytes(3);
    damaged.resize(damaged.size() - 100);
    writeFile(path, damaged);
    ASSERT_EQ(group.open(path, false), OpenResult::Loaded);
    EXPECT_TRUE(group.isDamaged());
    EXPECT_EQ(group.writeBack(), WriteBackResult::NothingToWrite); // Escape right away
    EXPECT_EQ(readFile(path), damaged);
    enterHours(3);
    EXPECT_EQ(group.writeBack(), WriteBackResult::Written);
    ASSERT_EQ(sink.shown.size(), 2u); // 2003 at loading, then where the original is
    const std::vector<std::string> copies = filesIn(dir.file("backups"));
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(sink.shown[1], FormatArgs(LoadString(StringId::FileWasIncomplete),
                                        {path, dir.file("backups") + "/" + copies[0]}));
    EXPECT_EQ(readFile(dir.file("backups") + "/" + copies[0]), damaged);
}

TEST_F(OpenGroup, OnlyRegularFilesAreOpened) {
    const std::string fifo = dir.file("fifo.z08");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.file("folder.z08");
    std::filesystem::create_directory(folder);
    for (const std::string& p : {fifo, folder, dir.file("missing.z08")}) {
        sink.shown.clear();
        EXPECT_EQ(group.open(p, false), OpenResult::NotLoaded)
            << p; // returns: no blocking on the FIFO
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(sink.shown[0], FormatText(LoadString(StringId::CannotOpenFile), p));
        EXPECT_EQ(group.store.publisherCount, 0);
    }
}

TEST_F(OpenGroup, NewListUnderTheSameNameIsReadAsItIs) {
    ASSERT_EQ(group.open(path, false), OpenResult::Loaded);
    enterHours(4); // not yet written
    ::usleep(10000);
    writeFile(path, groupBytes(3, 8));
    EXPECT_EQ(group.openNewList(path), OpenResult::Loaded);
    EXPECT_EQ(group.store.record(1).hours[10], 8);
    EXPECT_EQ(hoursOnDisk(), 8); // the old group was not written over the new list
    bool unsavedKept = false;
    for (const std::string& n : filesIn(dir.file("backups"))) {
        unsavedKept = unsavedKept || n.find("-unsaved.z08") != std::string::npos;
    }
    EXPECT_TRUE(unsavedKept);
}

TEST_F(OpenGroup, HardLinkedFileIsWrittenInPlaceWithTheBytesSafeFirst) {
    const std::string other = dir.file("link.z08");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    ASSERT_EQ(group.open(path, false), OpenResult::Loaded);
    const FileIdentity before = identityOf(path);
    enterHours(6);
    EXPECT_EQ(group.writeBack(), WriteBackResult::Written);
    EXPECT_EQ(identityOf(path).inode, before.inode);
    EXPECT_EQ(readFile(other), readFile(path)); // the link sees the new bytes
    int newCopies = 0;
    int replacedCopies = 0;
    for (const std::string& n : filesIn(dir.file("backups"))) {
        newCopies += n.find("-new.z08") != std::string::npos;
        replacedCopies += n.find("-replaced.z08") != std::string::npos;
    }
    EXPECT_EQ(newCopies, 1);
    EXPECT_EQ(replacedCopies, 1);
}

TEST(Backups, NamedDeduplicatedAndRotated) {
    ScratchDir dir;
    BackupFolder backups(dir.file("b"));
    std::time_t t = 1796774400;
    const std::string first = backups.keep("/x/grupp4.z08", "one", "", t);
    EXPECT_NE(first.find(join({"/b/grupp4-", stampOf(t), ".z08"})), std::string::npos) << first;
    EXPECT_EQ(backups.keep("/x/grupp4.z08", "one", "", t + 1), first); // same bytes: no new copy
    struct stat st {};
    ASSERT_EQ(::stat(first.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(dir.file("b").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    for (int i = 0; i < 60; ++i) {
        EXPECT_FALSE(
            backups.keep("/x/grupp4.z08", join({"v", std::to_string(i)}), "", t + i / 3).empty());
    }
    backups.keep("/x/grupp5.z08", "other", "", t);
    const std::vector<std::string> names = filesIn(dir.file("b"));
    EXPECT_EQ(names.size(), 51u); // the newest 50 of grupp4, and grupp5's one
    // The oldest went and the newest stayed, copies sharing a second included.
    std::set<std::string> kept;
    for (const std::string& n : names) {
        kept.insert(readFile(dir.file("b") + "/" + n));
    }
    EXPECT_EQ(kept.count("v9"), 0u);
    EXPECT_EQ(kept.count("v10"), 1u);
    EXPECT_EQ(kept.count("v59"), 1u);
}

TEST(SaveFailure, EachCauseHasItsMessage) {
    const std::string p = "/g/grupp4.z08";
    EXPECT_EQ(saveFailureText(p, ENOSPC),
              FormatText(LoadString(StringId::FileNotWrittenCompletely), p));
    EXPECT_EQ(saveFailureText(p, EDQUOT),
              FormatText(LoadString(StringId::FileNotWrittenCompletely), p));
    EXPECT_EQ(saveFailureText(p, EFBIG),
              FormatText(LoadString(StringId::FileNotWrittenCompletely), p));
    EXPECT_EQ(saveFailureText(p, EACCES), FormatText(LoadString(StringId::CannotCreateFile), p));
    EXPECT_EQ(saveFailureText(p, EPERM), FormatText(LoadString(StringId::CannotCreateFile), p));
    EXPECT_EQ(saveFailureText(p, EROFS), FormatText(LoadString(StringId::CannotCreateFile), p));
    EXPECT_EQ(saveFailureText(p, ENOENT), FormatText(LoadString(StringId::FolderGone), p));
    EXPECT_EQ(saveFailureText(p, EIO),
              FormatArgs(LoadString(StringId::FileNotSaved), {p, std::strerror(EIO)}));
}

TEST(Temporaries, DeadWritersLeftoversGoLiveOnesStay) {
    ScratchDir dir;
    const std::string path = dir.file("grupp4.z08");
    writeFile(path, "old");
    const pid_t dead = fork();
    if (dead == 0) {
        _exit(0);
    }
    ::waitpid(dead, nullptr, 0);
    const std::string deadTemp = dir.file(join({".grupp4.z08.", std::to_string(dead), ".abcdef"}));
    const std::string liveTemp =
        dir.file(join({".grupp4.z08.", std::to_string(::getppid()), ".abcdef"}));
    writeFile(deadTemp, "x");
    writeFile(liveTemp, "x");
    removeStaleTemporaries(path, std::time(nullptr));
    EXPECT_FALSE(std::filesystem::exists(deadTemp));
    EXPECT_TRUE(std::filesystem::exists(liveTemp));
}

// A save killed at any moment leaves the old or the new bytes, and the next save leaves no
// temporary file behind.
TEST(Temporaries, KilledSavesLeaveOldOrNewBytes) {
    ScratchDir dir;
    const std::string path = dir.file("grupp4.z08");
    const std::string oldBytes(200000, 'o');
    const std::string newBytes(300000, 'n');
    writeFile(path, oldBytes);
    for (int i = 0; i < 50; ++i) {
        const pid_t child = fork();
        if (child == 0) {
            for (;;) {
                writeFileAtomically(path, (i % 2) != 0 ? oldBytes : newBytes, i % 3 == 0);
            }
        }
        ::usleep(static_cast<useconds_t>(200 + (i * 397) % 3000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = readFile(path);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "after kill " << i << ": " << now.size();
    }
    ASSERT_TRUE(writeFileAtomically(path, oldBytes).ok());
    removeStaleTemporaries(path, std::time(nullptr));
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"grupp4.z08"});
}

// Folders that cannot hold an unnamed file (vfat, SMB) get a named temporary beside the target:
// it must become the file, or be gone when the write fails.
TEST(Temporaries, NamedTemporaryBecomesTheFileOrIsRemoved) {
    struct Case {
        const char* name;
        std::size_t sizeLimit; // 0: none
        bool ok;
        const char* expected;
    };
    const Case cases[] = {
        {"write", 0, true, "the new bytes"},
        {"write past the size limit", 500, false, "old"},
    };
    setUnnamedTemporariesForTesting(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = dir.file("grupp4.z08");
        writeFile(path, "old");
        const std::string data =
            c.sizeLimit == 0 ? std::string("the new bytes") : std::string(2000, 'n');
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        if (c.sizeLimit != 0) {
            rlimit small = old;
            small.rlim_cur = c.sizeLimit;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        }
        const WriteOutcome outcome = writeFileAtomically(path, data);
        ::setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(outcome.ok(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(outcome.error, EFBIG);
        }
        EXPECT_EQ(readFile(path), c.expected);
        EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"grupp4.z08"});
    }
    setUnnamedTemporariesForTesting(true);
}

} // namespace
