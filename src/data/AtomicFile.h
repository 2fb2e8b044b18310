// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replaces a file as a whole: a temporary file beside it is written, flushed, synced and renamed
// over the target, so a crash or a full disk never leaves a half-written file behind. Where the
// folder cannot take a temporary file, the caller may write in place instead, once the bytes are
// safe elsewhere.

#include <ctime>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace zadw {

// NotRegularFile: a link, FIFO, socket, device or folder stands at the path; it is never
// written through or replaced. NeedsInPlace: the file's group or ACL cannot be given to a new
// file, so only writing in place keeps them.
enum class WriteResult { Ok, CannotCreate, WriteFailed, NotRegularFile, NeedsInPlace };

struct WriteOutcome {
    WriteResult result = WriteResult::Ok;
    int error = 0;        // errno of the step that failed
    mode_t foundType = 0; // S_IFMT of what stood at the path, for NotRegularFile
    bool ok() const { return result == WriteResult::Ok; }
};

// The new file keeps the mode, group and ACL of the file it replaces. permissionsFrom names
// another file whose mode, group and ACL the new one gets instead, never wider (the update
// file beside its group file).
WriteOutcome writeFileAtomically(const std::string& path, const std::string& data,
                                 bool durable = true, const std::string& permissionsFrom = {});
// Overwrites the file's own bytes (same inode, owner, links), then truncates and syncs it.
WriteOutcome writeFileInPlace(const std::string& path, const std::string& data,
                              bool durable = true);
// Writes a new private file (mode 0600) that must not exist yet: complete or not at all. Its
// temporary is named as one of temporaryFor's (default: path's), for removeStaleTemporaries.
WriteOutcome writeNewPrivateFile(const std::string& path, const std::string& data,
                                 const std::string& temporaryFor = {});

// Tests turn off the unnamed temporary file, so writeFileAtomically takes the named one that
// folders without it (vfat, SMB) get.
void setUnnamedTemporariesForTesting(bool allowed);

// Removes the temporary files of this path that a save killed before its rename left behind;
// now tells the age of those an older version left.
void removeStaleTemporaries(const std::string& path, std::time_t now);

// Why the file may not be replaced by a rename: another owner, other hard links, or a folder
// that cannot take a new file.
bool needsInPlaceWrite(const std::string& path);

// The message for a failed save of path, chosen by the system's reason.
std::string saveFailureText(const std::string& path, int error);
std::string saveFailureText(const std::string& path, const WriteOutcome& outcome);
// "symbolisk länk" and the like, for what stands where a regular file should.
std::string fileTypeName(mode_t type);
std::string notRegularFileText(const std::string& path, mode_t type);

// The path as an absolute one: relative paths are joined with the working directory.
std::string absolutePath(const std::string& path);
// The path with symbolic links resolved, or the absolute path when it does not exist.
std::string canonicalPath(const std::string& path);
std::string folderOf(const std::string& path);
std::string baseNameOf(const std::string& path);
// Makes folder and every missing folder above it, each private (0700); false with errno set.
bool makePrivateFolders(const std::string& folder);
// A desktop folder: $variable when it is an absolute path, else fallback under $HOME.
std::string desktopFolder(const char* variable, const std::string& fallbackUnderHome);

// What a file was when it was last read or written: a change by anyone else changes it.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::time_t mtimeSeconds = 0;
    long mtimeNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const std::string& path);
FileIdentity identityOfDescriptor(int fd);
FileIdentity identityFromStat(const struct stat& st);

} // namespace zadw
