// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenGroupFile.h"

#include "Strings.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace zadw {

OpenGroupFile::OpenGroupFile(MessageSink& messages, FileLocker* locker, BackupFolder backups,
                             Clock clock)
    : store(messages), messages_(messages), locker_(locker), backups_(std::move(backups)),
      clock_(std::move(clock)) {}

OpenGroupFile::~OpenGroupFile() {
    releaseLock();
}

void OpenGroupFile::releaseLock() {
    if (locker_ != nullptr && !lockedPath_.empty()) {
        locker_->release(lockedPath_);
    }
    lockedPath_.clear();
}

bool OpenGroupFile::isGroupFilePath(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return ext == ".z08";
}

bool OpenGroupFile::isReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false; // gone: it is written again where it was
    }
    if (::access(path.c_str(), W_OK) != 0 &&
        (errno == EACCES || errno == EROFS || errno == EPERM)) {
        return true;
    }
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0) {
        return true;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        int flags = 0;
        const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                               (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
        ::close(fd);
        return immutable;
    }
    return false;
}

OpenResult OpenGroupFile::open(const std::string& path, bool handOver) {
    store.groupFilePath = path; // remembered even when it cannot be read
    if (!isGroupFilePath(path)) {
        return OpenResult::NotLoaded;
    }
    const std::string canonical = canonicalPath(path);
    if (locker_ != nullptr) {
        const FileLocker::Result lock = locker_->acquire(canonical, handOver);
        if (lock.outcome == FileLocker::Outcome::HandedOver) {
            return OpenResult::HandedOver;
        }
        if (lock.outcome == FileLocker::Outcome::HeldElsewhere) {
            messages_.show(
                FormatArgs(LoadString(StringId::GroupFileOpenElsewhere), {path, lock.holder}));
            return OpenResult::Refused;
        }
        if (lock.outcome == FileLocker::Outcome::NotAnswering) {
            messages_.show(FormatText(LoadString(StringId::GroupFileWindowNotAnswering), path));
            return OpenResult::Refused;
        }
    }
    releaseLock();
    lockedPath_ = canonical;
    return load(path);
}

OpenResult OpenGroupFile::openNewList(const std::string& path) {
    const std::string canonical = canonicalPath(path);
    const FileIdentity there = identityOf(path);
    const bool sameFile = canonical == lockedPath_ ||
                          (there.exists && identity_.exists && there.device == identity_.device &&
                           there.inode == identity_.inode);
    // The same file by another spelling of its path (a linked folder) is still this file.
    if (sameFile && canonicalPath(store.groupFilePath) == canonical) {
        // Read as it is now: what was not yet in the file goes to the backup folder first.
        std::string copy;
        if (changed_ && store.publisherCount > 1 && !keepMemoryCopy("unsaved", copy)) {
            return OpenResult::Refused;
        }
        return load(path);
    }
    if (locker_ != nullptr && canonical != lockedPath_) {
        const FileLocker::Result lock = locker_->acquire(canonical, false);
        if (lock.outcome != FileLocker::Outcome::Acquired) {
            messages_.show(
                FormatArgs(LoadString(StringId::GroupFileOpenElsewhere), {path, lock.holder}));
            return OpenResult::Refused;
        }
    }
    const auto giveBackNewLock = [&] {
        if (locker_ != nullptr && canonical != lockedPath_) {
            locker_->release(canonical);
        }
    };
    // What was entered into the current group reaches its file before another list replaces it.
    if (writeBack() == WriteBackResult::Failed) {
        giveBackNewLock();
        return OpenResult::Refused;
    }
    const OpenResult result = load(path);
    if (store.groupFilePath == path && store.publisherCount != 0) {
        if (canonical != lockedPath_) {
            releaseLock();
            lockedPath_ = canonical;
        }
    } else {
        giveBackNewLock();
    }
    return result;
}

OpenResult OpenGroupFile::load(const std::string& path) {
    std::string bytes;
    FileIdentity id;
    const ReadResult read = GroupStore::readFileBytes(path, bytes, &id);
    ++generation_;
    changed_ = false;
    damaged_ = false;
    readOnly_ = false;
    if (read == ReadResult::CannotOpen) {
        store.releaseStorage();
        messages_.show(FormatText(LoadString(StringId::CannotOpenFile), path));
        return OpenResult::NotLoaded;
    }
    if (read == ReadResult::NoMemory) {
        store.releaseStorage();
        messages_.show("Low Memory");
        return OpenResult::NoMemory;
    }
    if (!store.loadFromBytes(bytes, path)) {
        return OpenResult::NoMemory;
    }
    if (store.lastLoadStatus() == LoadStatus::NotAGroupFile) {
        return OpenResult::NotLoaded;
    }
    identity_ = id;
    damaged_ = store.lastLoadStatus() == LoadStatus::Incomplete;
    damageNoticeGiven_ = false;
    // A copy of every file as it was read; the same bytes are not kept twice in a row.
    loadCopy_ = backups_.keep(path, bytes, "", clock_());
    readOnly_ = isReadOnlyFile(path);
    if (readOnly_ && store.publisherCount > 1) {
        messages_.show(FormatText(LoadString(StringId::FileReadOnly), path));
    }
    return OpenResult::Loaded;
}

bool OpenGroupFile::keepMemoryCopy(const std::string& tag, std::string& copyPath) {
    std::string data;
    if (!store.serialize(data)) {
        return false;
    }
    int error = 0;
    copyPath = backups_.keep(path(), data, tag, clock_(), &error);
    if (copyPath.empty()) {
        messages_.show(FormatArgs(LoadString(StringId::FileNotSaved),
                                  {backups_.folder(), std::strerror(error)}));
        return false;
    }
    return true;
}

WriteBackResult OpenGroupFile::saveChanges() {
    changed_ = true;
    return writeBack();
}

WriteBackResult OpenGroupFile::writeBack() {
    const std::string file = path();
    if (!isGroupFilePath(file) || store.publisherCount <= 1 || !store.storageReady) {
        return WriteBackResult::NothingToWrite;
    }
    const FileIdentity disk = identityOf(file);
    // Nothing new: the file is left alone, so no copy of zadw ever writes over another's work.
    // A file that vanished is written again where it was.
    if (!changed_ && (disk.exists || damaged_)) {
        return WriteBackResult::NothingToWrite;
    }
    if (disk.exists && !(disk == identity_)) {
        std::string copy;
        if (!keepMemoryCopy("unsaved", copy)) {
            return WriteBackResult::Failed;
        }
        if (messages_.ask(FormatArgs(LoadString(StringId::FileChangedOnDisk), {file, copy}),
                          MsgAnswer::Yes) == MsgAnswer::Yes) {
            load(file);
            return WriteBackResult::Reloaded;
        }
        std::string onDisk;
        int error = 0;
        if (GroupStore::readFileBytes(file, onDisk, nullptr) == ReadResult::Ok &&
            backups_.keep(file, onDisk, "replaced", clock_(), &error).empty()) {
            messages_.show(FormatArgs(LoadString(StringId::FileNotSaved),
                                      {backups_.folder(), std::strerror(error)}));
            return WriteBackResult::Failed;
        }
    }
    return write();
}

WriteBackResult OpenGroupFile::write() {
    const std::string file = path();
    if (isReadOnlyFile(file)) {
        messages_.show(FormatText(LoadString(StringId::CannotCreateFile), file));
        return WriteBackResult::Failed;
    }
    std::string data;
    if (!store.serialize(data)) {
        return WriteBackResult::Failed;
    }
    if (damaged_ && !damageNoticeGiven_) {
        // The damaged original is in the backup folder from loading; say where before replacing it.
        damageNoticeGiven_ = true;
        if (!loadCopy_.empty()) {
            messages_.show(FormatArgs(LoadString(StringId::FileWasIncomplete), {file, loadCopy_}),
                           MsgButtons::Ok, MsgIcon::Information);
        }
    }
    removeStaleTemporaries(file, clock_());
    if (needsInPlaceWrite(file)) {
        // The folder cannot take a new file (or the file has other links or another owner):
        // the new and the old bytes are safe in the backup folder before the file is touched.
        int error = 0;
        const std::string newCopy = backups_.keep(file, data, "new", clock_(), &error);
        if (newCopy.empty()) {
            messages_.show(
                FormatArgs(LoadString(StringId::FileNotSaved), {file, std::strerror(error)}));
            return WriteBackResult::Failed;
        }
        std::string old;
        if (GroupStore::readFileBytes(file, old, nullptr) == ReadResult::Ok) {
            backups_.keep(file, old, "replaced", clock_());
        }
        const WriteOutcome outcome = writeFileInPlace(file, data);
        if (!outcome.ok()) {
            messages_.show(FormatArgs(LoadString(StringId::FileNotOverwritten),
                                      {file, std::strerror(outcome.error), newCopy}));
            return WriteBackResult::Failed;
        }
    } else {
        const WriteOutcome outcome = writeFileAtomically(file, data);
        if (!outcome.ok()) {
            messages_.show(saveFailureText(file, outcome.error));
            return WriteBackResult::Failed;
        }
    }
    identity_ = identityOf(file);
    changed_ = false;
    damaged_ = false;
    return WriteBackResult::Written;
}

} // namespace zadw
