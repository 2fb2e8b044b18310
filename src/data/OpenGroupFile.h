// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The group file that is open: the store, the file's path, its lock, what the file was when last
// read or written, the backup copies, and the one way the group goes back to its file. Every
// caller (a stored report, a remark, exit, a new list, sending updates) writes through here.

#include "AtomicFile.h"
#include "BackupFolder.h"
#include "Clock.h"
#include "FileLocker.h"
#include "GroupState.h"
#include "GroupStore.h"
#include "MessageSink.h"

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zadw {

enum class OpenResult {
    Loaded,     // the group is the file's (possibly damaged, said so)
    NotLoaded,  // the file could not be read or is no group file; said so, the group is empty
    NoMemory,   // "Low Memory" said; the group is empty
    HandedOver, // another window of this user has it and was brought forward
    Refused,    // held elsewhere (2009 said) or the current group could not be saved first
};

enum class WriteBackResult { Written, NothingToWrite, Reloaded, Failed };

class OpenGroupFile {
public:
    // clock stamps the backup copies the file's writes keep. Without a state folder, what was
    // sent is known only while the group stays open.
    OpenGroupFile(MessageSink& messages, FileLocker* locker, BackupFolder backups, Clock clock,
                  std::optional<GroupStateFolder> stateFolder = std::nullopt);
    ~OpenGroupFile();
    OpenGroupFile(const OpenGroupFile&) = delete;
    OpenGroupFile& operator=(const OpenGroupFile&) = delete;

    GroupStore store;

    // Start-up: path names the group file (absolute); handOver lets a second start give way.
    OpenResult open(const std::string& path, bool handOver);
    // A new list chosen by the collector; the current group reaches its file first, unless the
    // new list is that very file changed on disk, which is then read as it is.
    OpenResult openNewList(const std::string& path);

    // The one write-back: after a change (saveChanges) or at exit (writeBack).
    WriteBackResult saveChanges();
    WriteBackResult writeBack();

    void markChanged() { changed_ = true; }
    bool hasUnsavedChanges() const { return changed_; }
    const std::string& path() const { return store.groupFilePath; }
    // Bumped each time the store is replaced, so an open dialog knows its publisher is gone.
    int generation() const { return generation_; }
    bool isReadOnly() const { return readOnly_; }
    bool isDamaged() const { return damaged_; }
    const FileIdentity& identity() const { return identity_; }
    BackupFolder& backups() { return backups_; }
    void releaseLock();

    // What was sent to the secretary. The update has surely left (a mail program took it, or
    // the collector says it was sent): the time and the group as it stands are kept.
    void recordSent();
    // When the update last surely left since this list was read; 0: not yet.
    std::time_t sentAt() const { return static_cast<std::time_t>(state_.sentAt); }
    // The publishers whose reports differ from the group as last sent, or, with nothing sent
    // yet, from the list as it was first read (in this run or an earlier one).
    int changedSinceSent();
    // The publisher whose report was stored last in this group ("" when none).
    const std::string& lastEntered() const { return state_.lastEntered; }
    void setLastEntered(const std::string& name);
    // A copy of the group kept aside under tag ("unsent"): its path, or "" (said why).
    std::string keepGroupCopy(const std::string& tag);
    // The program ends: the month's work, when it changed since opening, is kept as a backup.
    void keepClosedCopy();

    static bool isGroupFilePath(const std::string& path);
    // A file that may not be replaced: no write permission, immutable, or a read-only mount.
    static bool isReadOnlyFile(const std::string& path);

private:
    enum class LoadReason { Opened, NewList, Reloaded };
    OpenResult load(const std::string& path, LoadReason why);
    void beginState(const std::string& bytes, LoadReason why);
    void saveState();
    void sayStateFailed(int error);
    bool keepMemoryCopy(const std::string& tag, std::string& copyPath);
    std::string keepCopy(const std::string& bytes, const std::string& tag, bool beside);
    void followPath();
    void sayBackupsFailed(int error);
    bool changedOnDisk(const FileIdentity& disk) const;
    WriteBackResult write(const std::string& unsavedCopy = {});

    MessageSink& messages_;
    FileLocker* locker_;
    BackupFolder backups_;
    Clock clock_;
    std::string lockedPath_; // canonical path of the file whose lock is held
    FileIdentity identity_;
    bool changed_ = false;
    bool readOnly_ = false;
    bool damaged_ = false;
    bool damageNoticeGiven_ = false;
    std::string loadCopy_; // the backup copy of the file as last loaded
    int generation_ = 0;
    std::string realPath_; // the file the path led to when read: written there, and only there
    std::string realFor_;  // the path realPath_ was found for
    bool backupTroubleSaid_ = false; // a backup folder that fails is said once per run

    std::optional<GroupStateFolder> stateFolder_;
    GroupStateData state_;
    bool stateTroubleSaid_ = false;
    std::string openedBytes_;              // the file as read in this run
    std::string baselineBytes_;            // the group as last sent, or as the list was first read
    std::unique_ptr<GroupStore> baseline_; // the same, read back
    std::unique_ptr<MessageSink> quiet_;
};

} // namespace zadw
