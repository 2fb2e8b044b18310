// SPDX-License-Identifier: GPL-3.0-or-later
// A group file in a folder others can write: what they plant there is never written through,
// a save keeps who may read the file, and backups that cannot be made never stop a save.
#include "OpenGroupFile.h"
#include "Strings.h"
#include "TestSupport.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

using namespace zadw;
using namespace zadw::test;

namespace {

constexpr std::time_t kNow = 1796774400;

std::string groupBytes(int hoursOfFirst) {
    RecordingSink sink;
    GroupStore store(sink);
    GroupRecord head{};
    head.reportMonth = 10;
    std::vector<GroupRecord> people(3);
    people[0].hours[10] = static_cast<std::uint8_t>(hoursOfFirst);
    store.assign(head, people, {});
    std::string data;
    store.serialize(data);
    return data;
}

int hoursIn(const std::string& path) {
    RecordingSink sink;
    GroupStore store(sink);
    store.loadGroupFile(path);
    return store.publisherCount > 0 ? store.record(1).hours[10] : -1;
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p) != nullptr) {
            out += buf;
        }
        ::pclose(p);
    }
    return out;
}

std::string aclOf(const std::string& path) {
    return run("getfacl --omit-header --numeric --absolute-names '" + path + "' 2>&1");
}

std::vector<std::string> namesWith(const std::string& folder, const std::string& part) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string n = e.path().filename().string();
        if (n.find(part) != std::string::npos) {
            names.push_back(n);
        }
    }
    return names;
}

// What stands where a regular file should, and the name the messages give it.
struct Planted {
    const char* what;
    const char* linkEnd; // a link to the victim's name with this appended; null: a named pipe
    StringId kind;
};
const Planted kPlanted[] = {
    {"link to another file", "", StringId::SymbolicLinkType},
    {"dangling link", ".none", StringId::SymbolicLinkType},
    {"named pipe", nullptr, StringId::NamedPipeType},
};

bool plant(const Planted& p, const std::string& at, const std::string& victim) {
    return p.linkEnd != nullptr ? ::symlink((victim + p.linkEnd).c_str(), at.c_str()) == 0
                                : ::mkfifo(at.c_str(), 0666) == 0;
}

TEST(SharedFolder, UpdateFileIsWrittenOnlyAsARegularFile) {
    for (const Planted& p : kPlanted) {
        SCOPED_TRACE(p.what);
        ScratchDir dir;
        const std::string victim = dir.file("profile");
        writeFile(victim, "precious");
        const std::string update = dir.file("grupp4.z18");
        ASSERT_TRUE(plant(p, update, victim));
        RecordingSink sink;
        GroupStore store(sink);
        store.loadFromBytes(groupBytes(2), dir.file("grupp4.z08"));
        EXPECT_FALSE(store.saveGroupFile(update, dir.file("grupp4.z08"))); // returns: no hang
        EXPECT_EQ(sink.shown,
                  std::vector<std::string>{FormatArgs(LoadString(StringId::NotRegularFile),
                                                      {update, LoadString(p.kind)})});
        EXPECT_EQ(readFile(victim), "precious");
        struct stat st {};
        ASSERT_EQ(::lstat(update.c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode)); // left as it was, not replaced
    }
}

TEST(SharedFolder, GroupFileSwappedWhileOpenIsNotWrittenThrough) {
    for (const Planted& p : kPlanted) {
        SCOPED_TRACE(p.what);
        ScratchDir dir;
        RecordingSink sink;
        OpenGroupFile group(sink, nullptr, BackupFolder(dir.file("backups")), [] { return kNow; });
        const std::string path = dir.file("grupp4.z08");
        const std::string victim = dir.file("notes.txt");
        writeFile(path, groupBytes(1));
        writeFile(victim, "precious");
        ASSERT_EQ(group.open(path, false), OpenResult::Loaded);
        group.store.record(1).hours[10] = 7;
        ::unlink(path.c_str());
        ASSERT_TRUE(plant(p, path, victim));
        sink.answers.push_back(MsgAnswer::No); // 2010: write the group over the file
        EXPECT_EQ(group.saveChanges(), WriteBackResult::Failed);
        const std::vector<std::string> unsaved = namesWith(dir.file("backups"), "-unsaved");
        ASSERT_EQ(unsaved.size(), 1u);
        const std::string copy = dir.file("backups") + "/" + unsaved[0];
        ASSERT_EQ(sink.shown.size(), 2u);
        EXPECT_EQ(sink.shown[0], FormatArgs(LoadString(StringId::FileChangedOnDisk), {path, copy}));
        EXPECT_EQ(sink.shown[1], FormatArgs(LoadString(StringId::FileNotOverwritten),
                                            {path, LoadString(p.kind), copy}));
        EXPECT_EQ(hoursIn(copy), 7);
        EXPECT_EQ(readFile(victim), "precious");
        EXPECT_TRUE(group.hasUnsavedChanges());
    }
}

TEST(SharedFolder, GroupFileOpenedThroughALinkKeepsWorking) {
    ScratchDir dir;
    RecordingSink sink;
    OpenGroupFile group(sink, nullptr, BackupFolder(dir.file("backups")), [] { return kNow; });
    const std::string target = dir.file("grupp4.z08");
    const std::string other = dir.file("grupp5.z08");
    const std::string link = dir.file("mine.z08");
    writeFile(target, groupBytes(1));
    writeFile(other, groupBytes(2));
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(group.open(link, false), OpenResult::Loaded);
    group.store.record(1).hours[10] = 5;
    EXPECT_EQ(group.saveChanges(), WriteBackResult::Written);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(hoursIn(target), 5);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    // Pointed elsewhere after opening: a change on disk; No writes the file it led to.
    ::unlink(link.c_str());
    ASSERT_EQ(::symlink(other.c_str(), link.c_str()), 0);
    group.store.record(1).hours[10] = 6;
    sink.answers.push_back(MsgAnswer::No);
    EXPECT_EQ(group.saveChanges(), WriteBackResult::Written);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].find(link), std::string::npos);
    EXPECT_EQ(hoursIn(target), 6);
    EXPECT_EQ(hoursIn(other), 2);
}

// Runs body in a child process: as root, with the rights of the collector (uid, their own group
// and the shared one); else as the user running the test. True when body was.
bool asCollector(uid_t uid, gid_t own, gid_t shared, const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {own, shared};
        if (::geteuid() == 0 && (::setgroups(2, groups) != 0 || ::setresgid(own, own, own) != 0 ||
                                 ::setresuid(uid, uid, uid) != 0)) {
            _exit(2);
        }
        ::umask(022);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SharedFolder, SaveKeepsModeGroupAndAclAndTheUpdateFileGetsThem) {
    if (run("command -v setfacl").empty()) {
        GTEST_SKIP() << "setfacl (package acl) is missing";
    }
    const bool root = ::geteuid() == 0;
    // As root: collector 64100 (own group 64100), sharing group 64200 with assistant 64101.
    const uid_t collector = root ? 64100 : ::getuid();
    const gid_t own = root ? 64100 : ::getgid();
    const gid_t share = root ? 64200 : ::getgid();
    const std::string assistant = std::to_string(root ? 64101 : ::getuid() + 1);
    struct Case {
        const char* name;
        mode_t mode;
        bool foreignGroup;     // the file's group is none of the collector's: only root can set it
        const char* fileAcl;   // setfacl -m on the group file, or ""
        const char* folderAcl; // a default ACL the folder gives new files, or ""
    };
    const Case cases[] = {
        {"shared with the group and an assistant", 0660, false, "u:ASSISTANT:rw", ""},
        {"private, in a folder that hands out access", 0600, false, "", "d:u:ASSISTANT:rw"},
        {"a group the collector is not in", 0640, true, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.foreignGroup && !root) {
            continue;
        }
        const gid_t fileGroup = c.foreignGroup ? 64300 : share;
        ScratchDir dir;
        const std::string folder = dir.file("shared");
        const std::string groupFile = folder + "/grupp4.z08";
        const std::string update = folder + "/grupp4.z18";
        std::filesystem::create_directory(folder);
        std::filesystem::create_directory(dir.file("home"));
        writeFile(groupFile, groupBytes(1));
        writeFile(update, "from an older version"); // wider than the group file
        ::chmod(dir.path().c_str(), 0755);
        for (const auto& [file, group, mode] : {std::tuple{dir.file("home"), own, 0700u},
                                                {folder, share, 0775u},
                                                {groupFile, fileGroup, unsigned{c.mode}},
                                                {update, own, 0644u}}) {
            ASSERT_EQ(::chown(file.c_str(), collector, group), 0);
            ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        }
        const auto setfacl = [&](std::string entry, const std::string& on) {
            entry.replace(entry.find("ASSISTANT"), 9, assistant);
            ASSERT_EQ(run("setfacl -m " + entry + " '" + on + "' 2>&1"), "");
        };
        if (*c.fileAcl != '\0') {
            setfacl(c.fileAcl, groupFile);
        }
        if (*c.folderAcl != '\0') {
            setfacl(c.folderAcl, folder);
        }
        const std::string aclBefore = aclOf(groupFile);
        const ino_t inode = identityOf(groupFile).inode;

        EXPECT_TRUE(asCollector(collector, own, share, [&] {
            RecordingSink sink;
            OpenGroupFile group(sink, nullptr, BackupFolder(dir.file("home/backups")),
                                [] { return kNow; });
            if (group.open(groupFile, false) != OpenResult::Loaded) {
                return false;
            }
            group.store.record(1).hours[10] = 9;
            return group.saveChanges() == WriteBackResult::Written &&
                   group.store.saveGroupFile(update, groupFile) && sink.shown.empty();
        }));
        EXPECT_EQ(hoursIn(groupFile), 9);
        // A group a new file cannot get: the file is written in place, the update file goes
        // without it and without the group's access.
        EXPECT_EQ(identityOf(groupFile).inode == inode, c.foreignGroup);
        for (const std::string& file : {groupFile, update}) {
            SCOPED_TRACE(file);
            const bool narrowed = c.foreignGroup && file == update;
            struct stat st {};
            ASSERT_EQ(::stat(file.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, narrowed ? c.mode & 0700 : c.mode);
            EXPECT_EQ(st.st_uid, collector);
            EXPECT_EQ(st.st_gid, narrowed ? own : fileGroup);
            if (!narrowed) {
                EXPECT_EQ(aclOf(file), aclBefore);
            }
        }
    }
}

// A backup folder that cannot be made, or a full file system for it (a tiny one, where the test
// may mount one).
struct UnusableBackups {
    const char* name;
    int error;
    std::function<bool(const ScratchDir&, const std::string& backups)> make; // false: skip
};

const UnusableBackups kUnusableBackups[] = {
    {"not a folder", ENOTDIR,
     [](const ScratchDir& dir, const std::string&) {
         writeFile(dir.file("b"), ""); // a file where the backup folder's parent should be
         return true;
     }},
    {"full", ENOSPC,
     [](const ScratchDir& dir, const std::string& backups) {
         std::filesystem::create_directory(dir.file("b"));
         if (::geteuid() != 0 ||
             !run("mount -t tmpfs -o size=32k tmpfs '" + dir.file("b") + "' 2>&1").empty()) {
             return false;
         }
         std::filesystem::create_directory(backups);
         writeFile(dir.file("b/filler"), std::string(64 * 1024, 'f')); // stops where it is full
         return true;
     }},
};

TEST(SharedFolder, BackupsThatCannotBeMadeNeverBlockASave) {
    for (const UnusableBackups& c : kUnusableBackups) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string backups = dir.file("b/backups");
        if (!c.make(dir, backups)) {
            continue; // no tiny file system without root
        }
        // Unmounted (when mounted) before the scratch folder goes, whatever fails.
        const std::unique_ptr<const ScratchDir, void (*)(const ScratchDir*)> unmount(
            &dir, [](const ScratchDir* d) { ::umount(d->file("b").c_str()); });
        RecordingSink sink;
        OpenGroupFile group(sink, nullptr, BackupFolder(backups), [] { return kNow; });
        const std::string path = dir.file("grupp4.z08");
        writeFile(path, groupBytes(1));
        ASSERT_EQ(group.open(path, false), OpenResult::Loaded);
        const std::vector<std::string> once = {
            FormatArgs(LoadString(StringId::BackupsNotSaved), {backups, std::strerror(c.error)})};
        EXPECT_EQ(sink.shown, once);

        group.store.record(1).hours[10] = 3;
        EXPECT_EQ(group.saveChanges(), WriteBackResult::Written);
        // A second name: written in place, its new bytes beside it only while that lasts.
        ASSERT_EQ(::link(path.c_str(), dir.file("link.z08").c_str()), 0);
        group.store.record(1).hours[10] = 4;
        EXPECT_EQ(group.saveChanges(), WriteBackResult::Written);
        EXPECT_EQ(hoursIn(dir.file("link.z08")), 4);
        EXPECT_TRUE(namesWith(dir.path(), "-new").empty());
        EXPECT_EQ(sink.shown, once);

        // Changed on disk: 2010 is still asked, with what was typed kept beside the file.
        ::usleep(10000);
        ::unlink(dir.file("link.z08").c_str());
        writeFile(path, groupBytes(8));
        group.store.record(1).hours[10] = 5;
        sink.answers.push_back(MsgAnswer::Yes);
        EXPECT_EQ(group.saveChanges(), WriteBackResult::Reloaded);
        const std::vector<std::string> unsaved = namesWith(dir.path(), "-unsaved");
        ASSERT_EQ(unsaved.size(), 1u);
        ASSERT_EQ(sink.shown.size(), 2u);
        EXPECT_EQ(sink.shown[1], FormatArgs(LoadString(StringId::FileChangedOnDisk),
                                            {path, dir.file(unsaved[0])}));
        EXPECT_EQ(hoursIn(dir.file(unsaved[0])), 5);
        EXPECT_EQ(group.store.record(1).hours[10], 8);
    }
}

TEST(SharedFolder, KilledBackupLeavesNoneOrAWholeCopy) {
    ScratchDir dir;
    const std::string bytes(400000, 'b');
    for (int i = 0; i < 20; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            setUnnamedTemporariesForTesting(i % 2 == 0);
            BackupFolder backups(dir.file("b"));
            for (std::time_t t = kNow;; ++t) {
                backups.keep("/x/grupp4.z08", bytes, "new", t);
            }
        }
        ::usleep(static_cast<useconds_t>(300 + (i * 397) % 3000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    // The next copy clears what killed ones left.
    BackupFolder(dir.file("b")).keep("/x/grupp4.z08", bytes, "new", kNow);
    for (const std::string& name : namesWith(dir.file("b"), "grupp4")) {
        EXPECT_EQ(std::filesystem::file_size(dir.file("b/" + name)), bytes.size()) << name;
        EXPECT_NE(name[0], '.') << name;
    }
}

} // namespace
