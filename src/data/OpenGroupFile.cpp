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
namespace {

// The entry at path itself: a link there is not followed, and its type is told.
FileIdentity entryAt(const std::string& path, mode_t& type) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        type = 0;
        return {};
    }
    type = st.st_mode & S_IFMT;
    return identityFromStat(st);
}

// Reading back a copy of our own says nothing: any fault in it was said when it was read.
class QuietSink : public MessageSink {
public:
    MsgAnswer present(const Message& message) override {
        return message.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
};

} // namespace

OpenGroupFile::OpenGroupFile(MessageSink& messages, FileLocker* locker, BackupFolder backups,
                             Clock clock, std::optional<GroupStateFolder> stateFolder)
    : store(messages), messages_(messages), locker_(locker), backups_(std::move(backups)),
      clock_(std::move(clock)), stateFolder_(std::move(stateFolder)),
      quiet_(std::make_unique<QuietSink>()) {}

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
    return load(path, LoadReason::Opened);
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
        keepClosedCopy();
        return load(path, LoadReason::NewList);
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
    keepClosedCopy();
    const OpenResult result = load(path, LoadReason::NewList);
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

OpenResult OpenGroupFile::load(const std::string& path, LoadReason why) {
    std::string bytes;
    FileIdentity id;
    const ReadResult read = GroupStore::readFileBytes(path, bytes, &id);
    ++generation_;
    changed_ = false;
    damaged_ = false;
    readOnly_ = false;
    // Whatever was known of the group before belongs to it, not to what is read now.
    state_ = GroupStateData{};
    openedBytes_.clear();
    baselineBytes_.clear();
    baseline_.reset();
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
    // Opened through a link on purpose: the file it led to is the group file from now on.
    realPath_ = canonicalPath(path);
    realFor_ = path;
    damaged_ = store.lastLoadStatus() == LoadStatus::Incomplete;
    damageNoticeGiven_ = false;
    // A copy of every file as it was read; the same bytes are not kept twice in a row.
    int error = 0;
    loadCopy_ = backups_.keep(path, bytes, "", clock_(), &error);
    if (loadCopy_.empty()) {
        sayBackupsFailed(error);
    }
    beginState(bytes, why);
    readOnly_ = isReadOnlyFile(path);
    if (readOnly_ && store.publisherCount > 1) {
        messages_.show(FormatText(LoadString(StringId::FileReadOnly), path));
    }
    return OpenResult::Loaded;
}

void OpenGroupFile::followPath() {
    // A path given to the store since reading is followed as it is now.
    if (realFor_ != path()) {
        realPath_ = canonicalPath(path());
        realFor_ = path();
    }
}

void OpenGroupFile::sayBackupsFailed(int error) {
    if (!backupTroubleSaid_) {
        backupTroubleSaid_ = true;
        messages_.show(FormatArgs(LoadString(StringId::BackupsNotSaved),
                                  {backups_.folder(), std::strerror(error)}));
    }
}

std::string OpenGroupFile::keepCopy(const std::string& bytes, const std::string& tag, bool beside) {
    int error = 0;
    std::string copy = backups_.keep(path(), bytes, tag, clock_(), &error);
    if (copy.empty()) {
        sayBackupsFailed(error);
        if (beside) {
            // What was typed must be somewhere before the file is touched: beside the file.
            copy = BackupFolder::keepBeside(realPath_, bytes, tag, clock_(), &error);
            if (copy.empty()) {
                messages_.show(FormatArgs(LoadString(StringId::FileNotSaved),
                                          {folderOf(realPath_), std::strerror(error)}));
            }
        }
    }
    return copy;
}

bool OpenGroupFile::keepMemoryCopy(const std::string& tag, std::string& copyPath) {
    std::string data;
    if (!store.serialize(data)) {
        return false;
    }
    followPath();
    copyPath = keepCopy(data, tag, true);
    return !copyPath.empty();
}

WriteBackResult OpenGroupFile::saveChanges() {
    changed_ = true;
    return writeBack();
}

bool OpenGroupFile::changedOnDisk(const FileIdentity& disk) const {
    mode_t type = 0;
    const bool entryThere = entryAt(path(), type).exists;
    // A link that appeared, or now leads elsewhere, is a change like any other.
    if (entryThere && canonicalPath(path()) != realPath_) {
        return true;
    }
    return disk.exists && !(disk == identity_);
}

WriteBackResult OpenGroupFile::writeBack() {
    const std::string file = path();
    if (!isGroupFilePath(file) || store.publisherCount <= 1 || !store.storageReady) {
        return WriteBackResult::NothingToWrite;
    }
    followPath();
    mode_t type = 0;
    const FileIdentity disk = entryAt(realPath_, type);
    // Nothing new: the file is left alone, so no copy of zadw ever writes over another's work.
    // A file that vanished is written again where it was.
    if (!changed_ && (disk.exists || damaged_)) {
        return WriteBackResult::NothingToWrite;
    }
    if (changedOnDisk(disk)) {
        std::string copy;
        if (!keepMemoryCopy("unsaved", copy)) {
            return WriteBackResult::Failed;
        }
        if (messages_.ask(FormatArgs(LoadString(StringId::FileChangedOnDisk), {file, copy}),
                          MsgAnswer::Yes) == MsgAnswer::Yes) {
            load(file, LoadReason::Reloaded);
            return WriteBackResult::Reloaded;
        }
        // What someone else wrote is kept, when it is a file of its own at the group file's place.
        std::string onDisk;
        if (type == S_IFREG &&
            GroupStore::readFileBytes(realPath_, onDisk, nullptr) == ReadResult::Ok) {
            keepCopy(onDisk, "replaced", false);
        }
        return write(copy);
    }
    return write();
}

WriteBackResult OpenGroupFile::write(const std::string& unsavedCopy) {
    const std::string file = path();
    const std::string target = realPath_;
    // Something else at the group file's place is not written through or replaced; what was
    // typed stays in a copy of its own.
    const auto refuse = [&](mode_t type) {
        std::string copy = unsavedCopy;
        if (copy.empty() && !keepMemoryCopy("unsaved", copy)) {
            messages_.show(notRegularFileText(file, type));
        } else {
            messages_.show(FormatArgs(LoadString(StringId::FileNotOverwritten),
                                      {file, fileTypeName(type), copy}));
        }
        return WriteBackResult::Failed;
    };
    mode_t type = 0;
    if (entryAt(target, type).exists && type != S_IFREG) {
        return refuse(type);
    }
    if (isReadOnlyFile(target)) {
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
    removeStaleTemporaries(target, clock_());
    const bool inPlace = needsInPlaceWrite(target);
    WriteOutcome outcome;
    if (!inPlace) {
        outcome = writeFileAtomically(target, data);
    }
    if (inPlace || outcome.result == WriteResult::NeedsInPlace) {
        // The folder cannot take a new file, the file has other links or another owner, or its
        // group or ACL cannot be given to a new one: the new and the old bytes are made safe
        // first, beside the file when the backup folder cannot take them.
        int error = 0;
        std::string newCopy = backups_.keep(file, data, "new", clock_(), &error);
        std::string beside;
        if (newCopy.empty()) {
            sayBackupsFailed(error);
            beside = newCopy = BackupFolder::keepBeside(target, data, "new", clock_());
        }
        std::string old;
        if (GroupStore::readFileBytes(target, old, nullptr) == ReadResult::Ok) {
            keepCopy(old, "replaced", false);
        }
        outcome = writeFileInPlace(target, data);
        if (outcome.result == WriteResult::NotRegularFile) {
            return refuse(outcome.foundType);
        }
        if (!outcome.ok()) {
            messages_.show(newCopy.empty()
                               ? saveFailureText(file, outcome)
                               : FormatArgs(LoadString(StringId::FileNotOverwritten),
                                            {file, std::strerror(outcome.error), newCopy}));
            return WriteBackResult::Failed;
        }
        if (!beside.empty()) {
            ::unlink(beside.c_str()); // written; the shared folder keeps no extra copy
        }
    } else if (outcome.result == WriteResult::NotRegularFile) {
        return refuse(outcome.foundType);
    } else if (!outcome.ok()) {
        messages_.show(saveFailureText(file, outcome));
        return WriteBackResult::Failed;
    }
    identity_ = identityOf(target);
    changed_ = false;
    damaged_ = false;
    state_.fileDigest = DigestOf(data);
    saveState();
    return WriteBackResult::Written;
}

void OpenGroupFile::beginState(const std::string& bytes, LoadReason why) {
    openedBytes_ = bytes;
    baseline_.reset();
    const std::string canonical = realPath_;
    // A later start on the very file this zadw last read or wrote, for the same month, goes on
    // where it left off; a file replaced in between is a new list.
    GroupStateData kept;
    if (why == LoadReason::Opened && stateFolder_ && stateFolder_->read(canonical, kept) &&
        kept.reportMonth == store.reportMonth && kept.groupNumber == store.groupNumber &&
        kept.fileDigest == DigestOf(bytes)) {
        state_ = kept;
        if (!stateFolder_->readBaseline(canonical, baselineBytes_)) {
            // Without it, count from what is at hand: the file as it is now.
            state_.sentAt = 0;
            baselineBytes_ = bytes;
        }
        return;
    }
    state_ = GroupStateData{};
    state_.groupPath = canonical;
    state_.reportMonth = store.reportMonth;
    state_.groupNumber = store.groupNumber;
    state_.fileDigest = DigestOf(bytes);
    baselineBytes_ = bytes;
    int error = 0;
    if (stateFolder_ && !stateFolder_->writeBaseline(canonical, bytes, &error)) {
        sayStateFailed(error);
    }
    saveState();
}

void OpenGroupFile::saveState() {
    int error = 0;
    if (stateFolder_ && !state_.groupPath.empty() && !stateFolder_->write(state_, &error)) {
        sayStateFailed(error);
    }
}

void OpenGroupFile::sayStateFailed(int error) {
    if (!stateTroubleSaid_) {
        stateTroubleSaid_ = true;
        messages_.show(FormatArgs(LoadString(StringId::SendStateNotSaved),
                                  {stateFolder_->folder(), std::strerror(error)}));
    }
}

void OpenGroupFile::recordSent() {
    std::string data;
    if (!store.storageReady || !store.serialize(data)) {
        return;
    }
    baselineBytes_ = data;
    baseline_.reset();
    state_.sentAt = static_cast<std::int64_t>(clock_());
    int error = 0;
    if (stateFolder_ && !stateFolder_->writeBaseline(state_.groupPath, data, &error)) {
        sayStateFailed(error);
    }
    saveState();
}

int OpenGroupFile::changedSinceSent() {
    if (!store.storageReady || store.publisherCount == 0) {
        return 0;
    }
    if (!baseline_) {
        baseline_ = std::make_unique<GroupStore>(*quiet_);
        if (!baseline_->loadFromBytes(baselineBytes_, path()) ||
            baseline_->lastLoadStatus() == LoadStatus::NotAGroupFile) {
            baseline_.reset();
            return store.publisherCount;
        }
    }
    return ChangedPublishers(store, *baseline_);
}

void OpenGroupFile::setLastEntered(const std::string& name) {
    if (state_.lastEntered != name) {
        state_.lastEntered = name;
        saveState();
    }
}

std::string OpenGroupFile::keepGroupCopy(const std::string& tag) {
    std::string copy;
    keepMemoryCopy(tag, copy);
    return copy;
}

void OpenGroupFile::keepClosedCopy() {
    std::string data;
    if (!store.storageReady || store.publisherCount <= 1 || !isGroupFilePath(path()) ||
        !store.serialize(data) || data == openedBytes_) {
        return;
    }
    followPath();
    keepCopy(data, "closed", false);
}

} // namespace zadw
