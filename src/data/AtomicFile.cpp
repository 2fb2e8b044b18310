// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include "Strings.h"

#include <acl/libacl.h>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/acl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zadw {
namespace {

// A write past RLIMIT_FSIZE should fail with EFBIG and be reported, not kill the program.
void ignoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

bool writeAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (w == 0) {
            errno = EIO;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

WriteOutcome failed(WriteResult result, int error) {
    return WriteOutcome{result, error, 0};
}

WriteOutcome notRegular(mode_t type) {
    return WriteOutcome{WriteResult::NotRegularFile, 0, type & S_IFMT};
}

// What a file carries besides its bytes, so a new file can stand in for it.
struct Permissions {
    mode_t mode = 0;
    gid_t group = 0;
    acl_t acl = nullptr; // none on a file system without ACLs
    bool extended = false;

    Permissions() = default;
    Permissions(const Permissions&) = delete;
    Permissions& operator=(const Permissions&) = delete;
    ~Permissions() {
        if (acl != nullptr) {
            ::acl_free(acl);
        }
    }
};

// Reads the permissions of the regular file at path. A link at the path's end is followed only
// when followLink; otherwise, like anything else that is not a regular file, it is refused.
WriteOutcome readPermissions(const std::string& path, bool followLink, Permissions& out) {
    // O_PATH opens nothing: no read permission needed, and a FIFO cannot block.
    const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        return failed(WriteResult::CannotCreate, errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(WriteResult::CannotCreate, error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return notRegular(st.st_mode);
    }
    out.mode = st.st_mode & 07777;
    out.group = st.st_gid;
    // The descriptor's own name, so the ACL read is the file's that was checked.
    std::string byDescriptor = "/proc/self/fd/";
    byDescriptor += std::to_string(fd);
    out.acl = ::acl_get_file(byDescriptor.c_str(), ACL_TYPE_ACCESS);
    if (out.acl == nullptr && errno == ENOENT) {
        out.acl = ::acl_get_file(path.c_str(), ACL_TYPE_ACCESS); // no /proc
    }
    out.extended = out.acl != nullptr && ::acl_equiv_mode(out.acl, nullptr) == 1;
    ::close(fd);
    return {};
}

// The owning group's own rights in an ACL, as mode bits of the group class.
mode_t groupEntryBits(acl_t acl) {
    acl_entry_t entry = nullptr;
    for (int which = ACL_FIRST_ENTRY; ::acl_get_entry(acl, which, &entry) == 1;
         which = ACL_NEXT_ENTRY) {
        acl_tag_t tag = ACL_UNDEFINED_TAG;
        acl_permset_t perms = nullptr;
        if (::acl_get_tag_type(entry, &tag) == 0 && tag == ACL_GROUP_OBJ &&
            ::acl_get_permset(entry, &perms) == 0) {
            return (::acl_get_perm(perms, ACL_READ) == 1 ? S_IRGRP : 0) |
                   (::acl_get_perm(perms, ACL_WRITE) == 1 ? S_IWGRP : 0) |
                   (::acl_get_perm(perms, ACL_EXECUTE) == 1 ? S_IXGRP : 0);
        }
    }
    return 0;
}

bool aclUnsupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// Gives the new file fd the permissions p, before it has a name anyone can open. What cannot be
// given is NeedsInPlace when keep, else the new file is narrowed instead: without its group,
// the group class gets nothing; without the ACL, only what the owning group itself had.
WriteOutcome givePermissions(int fd, const Permissions& p, mode_t mode, bool keep) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return failed(WriteResult::WriteFailed, errno);
    }
    const bool groupKept =
        st.st_gid == p.group || ::fchown(fd, static_cast<uid_t>(-1), p.group) == 0;
    bool aclKept = true;
    if (p.extended && groupKept) {
        aclKept = ::acl_set_fd(fd, p.acl) == 0;
    }
    if ((!groupKept || !aclKept) && keep) {
        return failed(WriteResult::NeedsInPlace, errno);
    }
    if (!groupKept) {
        mode &= ~static_cast<mode_t>(S_IRWXG | S_ISGID);
    } else if (!aclKept) {
        mode = (mode & ~static_cast<mode_t>(S_IRWXG)) | (mode & groupEntryBits(p.acl));
    }
    if (!p.extended || !groupKept || !aclKept) {
        // Drops what a default ACL of the folder gave the new file.
        if (acl_t plain = ::acl_from_mode(mode)) {
            const bool set = ::acl_set_fd(fd, plain) == 0;
            const int error = errno;
            ::acl_free(plain);
            if (!set && !aclUnsupported(error)) {
                return failed(WriteResult::WriteFailed, error);
            }
        }
    }
    // Last, as the change of group may have dropped the set-group-ID bit.
    if (::fchmod(fd, mode) != 0 && errno != EPERM) {
        return failed(WriteResult::WriteFailed, errno);
    }
    return {};
}

// Temporary names carry the writer's pid, so a later save can tell a dead writer's leftovers.
std::string temporaryPrefix(const std::string& path) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about "literal" + string.
    std::string prefix(1, '.');
    prefix += baseNameOf(path);
    prefix += '.';
    return prefix;
}

bool isDigits(const std::string& s) {
    if (s.empty()) {
        return false;
    }
    for (const char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::atomic<bool> unnamedTemporariesAllowed{true};

// Creates the temporary file as a private unnamed file where the filesystem can, so a killed
// save leaves nothing; it gets a name only once every byte is on disk.
int openTemporary(const std::string& folder, std::string& namedTemp, bool& unnamed) {
#ifdef O_TMPFILE
    if (unnamedTemporariesAllowed) {
        int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            unnamed = true;
            return fd;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) {
            return -1;
        }
    }
#endif
    unnamed = false;
    std::vector<char> name(namedTemp.begin(), namedTemp.end());
    name.push_back('\0');
    const int named = ::mkostemp(name.data(), O_CLOEXEC); // mode 0600
    if (named >= 0) {
        namedTemp = name.data();
    }
    return named;
}

// Gives an unnamed temporary a unique name beside the target.
bool nameTemporary(int fd, std::string& namedTemp) {
    std::string procPath = "/proc/self/fd/";
    procPath += std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::vector<char> name(namedTemp.begin(), namedTemp.end());
        name.push_back('\0');
        // mktemp only makes up a name; linkat below refuses one that exists.
        const std::size_t x = namedTemp.size() - 6;
        static const char letters[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (std::size_t i = x; i < namedTemp.size(); ++i) {
            name[i] = letters[static_cast<unsigned>(std::rand()) % (sizeof letters - 1)];
        }
        if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.data(), AT_SYMLINK_FOLLOW) == 0) {
            namedTemp = name.data();
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

void syncFolder(const std::string& folder) {
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd); // the rename is done; a folder that cannot be synced changes nothing
        ::close(dfd);
    }
}

} // namespace

void setUnnamedTemporariesForTesting(bool allowed) {
    unnamedTemporariesAllowed = allowed;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool makePrivateFolders(const std::string& folder) {
    std::size_t at = 0;
    while (at != std::string::npos) {
        at = folder.find('/', at + 1);
        const std::string sofar = folder.substr(0, at);
        if (!sofar.empty() && ::mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

std::string desktopFolder(const char* variable, const std::string& fallbackUnderHome) {
    const char* set = std::getenv(variable);
    if (set != nullptr && set[0] == '/') {
        return set;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/" + fallbackUnderHome;
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    std::vector<char> buf(PATH_MAX + 1);
    if (::getcwd(buf.data(), buf.size()) == nullptr) {
        return path;
    }
    std::string cwd(buf.data());
    if (cwd.empty() || cwd.back() != '/') {
        cwd += '/';
    }
    std::string rel = path;
    while (rel.rfind("./", 0) == 0) {
        rel.erase(0, 2);
    }
    return cwd + rel;
}

std::string canonicalPath(const std::string& path) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string out = real;
        std::free(real);
        return out;
    }
    return absolutePath(path);
}

FileIdentity identityFromStat(const struct stat& st) {
    FileIdentity id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.mtimeSeconds = st.st_mtim.tv_sec;
    id.mtimeNanoseconds = st.st_mtim.tv_nsec;
    return id;
}

FileIdentity identityOfDescriptor(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? identityFromStat(st) : FileIdentity{};
}

FileIdentity identityOf(const std::string& path) {
    // stat, not open: a file we may not read still has an identity, and a FIFO must not block.
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? identityFromStat(st) : FileIdentity{};
}

bool needsInPlaceWrite(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false; // a new file is always created by a rename; anything else is refused
    }
    if (st.st_nlink > 1 || st.st_uid != ::geteuid()) {
        return true;
    }
    return ::access(folderOf(path).c_str(), W_OK | X_OK) != 0 && errno == EACCES;
}

void removeStaleTemporaries(const std::string& path, std::time_t now) {
    const std::string folder = folderOf(path);
    const std::string prefix = temporaryPrefix(path);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string rest = name.substr(prefix.size()); // "<pid>.XXXXXX" or "XXXXXX"
        const auto dot = rest.find('.');
        if (dot == std::string::npos) {
            // Left by an older version, which did not name its pid: stale once it is old.
            struct stat st {};
            const std::string full = folder + "/" + name;
            if (rest.size() == 6 && ::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                now - st.st_mtim.tv_sec > 600) {
                stale.push_back(full);
            }
            continue;
        }
        const std::string pid = rest.substr(0, dot);
        if (rest.size() != dot + 7 || !isDigits(pid) || pid.size() > 9) {
            continue;
        }
        const pid_t owner = static_cast<pid_t>(std::atol(pid.c_str()));
        if (owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH) {
            stale.push_back(folder + "/" + name);
        }
    }
    ::closedir(dir);
    for (const std::string& file : stale) {
        ::unlink(file.c_str());
    }
}

WriteOutcome writeFileAtomically(const std::string& path, const std::string& data, bool durable,
                                 const std::string& permissionsFrom) {
    ignoreFileSizeSignal();
    // A link, FIFO or device at the path is not written through, nor replaced.
    struct stat st {};
    const bool exists = ::lstat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        return notRegular(st.st_mode);
    }
    Permissions permissions;
    bool havePermissions = false;
    bool keep = false;
    mode_t mode = 0;
    if (!permissionsFrom.empty()) {
        // The file named on purpose, through its link if it is one; no execute or set-ID bits.
        const WriteOutcome from = readPermissions(permissionsFrom, true, permissions);
        havePermissions = from.ok();
        mode = permissions.mode & 0666;
    } else if (exists) {
        const WriteOutcome from = readPermissions(path, false, permissions);
        if (!from.ok() && from.result == WriteResult::NotRegularFile) {
            return from; // swapped since the lstat above
        }
        havePermissions = from.ok();
        keep = true;
        mode = permissions.mode;
    }
    if (!havePermissions && !permissionsFrom.empty()) {
        mode = 0600; // nothing to follow: private rather than wider than the file it goes with
    } else if (!havePermissions) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    const std::string folder = folderOf(path);
    std::string temp =
        folder + "/" + temporaryPrefix(path) + std::to_string(::getpid()) + ".XXXXXX";
    bool unnamed = false;
    const int fd = openTemporary(folder, temp, unnamed);
    if (fd < 0) {
        return failed(WriteResult::CannotCreate, errno);
    }
    bool named = !unnamed;
    WriteOutcome outcome;
    if (!writeAll(fd, data.data(), data.size()) || (durable && ::fsync(fd) != 0)) {
        outcome = failed(WriteResult::WriteFailed, errno);
    }
    // Mode, group and ACL before the file has a name, so its bytes are never more readable.
    if (outcome.ok()) {
        if (havePermissions) {
            outcome = givePermissions(fd, permissions, mode, keep);
        } else if (::fchmod(fd, mode) != 0 && errno != EPERM) {
            outcome = failed(WriteResult::WriteFailed, errno);
        }
    }
    if (outcome.ok() && !named) {
        named = nameTemporary(fd, temp);
        if (!named) {
            outcome = failed(WriteResult::WriteFailed, errno);
        }
    }
    if (::close(fd) != 0 && outcome.ok()) {
        outcome = failed(WriteResult::WriteFailed, errno);
    }
    // rename replaces the name itself: whatever stands there now is not followed.
    if (outcome.ok() && ::rename(temp.c_str(), path.c_str()) != 0) {
        outcome = failed(WriteResult::WriteFailed, errno);
    }
    if (!outcome.ok()) {
        if (named) {
            ::unlink(temp.c_str());
        }
        if (outcome.result == WriteResult::WriteFailed && outcome.error == 0) {
            outcome.error = EIO;
        }
        return outcome;
    }
    if (durable) {
        syncFolder(folder);
    }
    return {};
}

WriteOutcome writeFileInPlace(const std::string& path, const std::string& data, bool durable) {
    ignoreFileSizeSignal();
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return notRegular(st.st_mode); // not even opened: a device may act on an open
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == ELOOP ? notRegular(S_IFLNK) : failed(WriteResult::CannotCreate, errno);
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return notRegular(st.st_mode);
    }
    bool ok = writeAll(fd, data.data(), data.size()) &&
              ::ftruncate(fd, static_cast<off_t>(data.size())) == 0;
    if (ok && durable) {
        ok = ::fsync(fd) == 0;
    }
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok ? WriteOutcome{} : failed(WriteResult::WriteFailed, error != 0 ? error : EIO);
}

WriteOutcome writeNewPrivateFile(const std::string& path, const std::string& data,
                                 const std::string& temporaryFor) {
    ignoreFileSizeSignal();
    // Written under a temporary name, then given its own: a kill leaves no half a copy.
    const std::string folder = folderOf(path);
    std::string temp = folder + "/" + temporaryPrefix(temporaryFor.empty() ? path : temporaryFor) +
                       std::to_string(::getpid()) + ".XXXXXX";
    bool unnamed = false;
    const int fd = openTemporary(folder, temp, unnamed);
    if (fd < 0) {
        return failed(WriteResult::CannotCreate, errno);
    }
    bool ok = writeAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (ok && unnamed) {
        // linkat never replaces, nor follows, what stands at the new name.
        std::string procPath = "/proc/self/fd/";
        procPath += std::to_string(fd);
        ok = ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
        error = ok ? 0 : errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !unnamed) {
        ok = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
        if (!ok && (errno == EINVAL || errno == ENOSYS)) {
            // No RENAME_NOREPLACE here: a hard link refuses an existing name just as well.
            ok = ::link(temp.c_str(), path.c_str()) == 0;
        }
        error = ok ? 0 : errno;
    }
    if (!unnamed) {
        ::unlink(temp.c_str()); // after rename: nothing; after link: the second name
    }
    if (!ok) {
        return failed(error == EEXIST ? WriteResult::CannotCreate : WriteResult::WriteFailed,
                      error != 0 ? error : EIO);
    }
    syncFolder(folder);
    return {};
}

std::string fileTypeName(mode_t type) {
    switch (type & S_IFMT) {
    case S_IFLNK:
        return LoadString(StringId::SymbolicLinkType);
    case S_IFIFO:
        return LoadString(StringId::NamedPipeType);
    case S_IFSOCK:
        return LoadString(StringId::SocketType);
    case S_IFDIR:
        return LoadString(StringId::FolderType);
    default:
        return LoadString(StringId::DeviceType);
    }
}

std::string notRegularFileText(const std::string& path, mode_t type) {
    return FormatArgs(LoadString(StringId::NotRegularFile), {path, fileTypeName(type)});
}

std::string saveFailureText(const std::string& path, const WriteOutcome& outcome) {
    if (outcome.result == WriteResult::NotRegularFile) {
        return notRegularFileText(path, outcome.foundType);
    }
    return saveFailureText(path, outcome.error);
}

std::string saveFailureText(const std::string& path, int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FormatText(LoadString(StringId::FileNotWrittenCompletely), path);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return FormatText(LoadString(StringId::CannotCreateFile), path);
    case ENOENT:
    case ENOTDIR:
        return FormatText(LoadString(StringId::FolderGone), path);
    default:
        return FormatArgs(LoadString(StringId::FileNotSaved), {path, std::strerror(error)});
    }
}

} // namespace zadw
