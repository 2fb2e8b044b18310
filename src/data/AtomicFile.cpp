// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include "Strings.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
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

// Writes through a symbolic link to the file it names rather than replacing the link.
std::string resolveLink(const std::string& requested) {
    struct stat st {};
    if (::lstat(requested.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(requested.c_str(), nullptr)) {
            std::string path = real;
            std::free(real);
            return path;
        }
    }
    return requested;
}

WriteOutcome failed(WriteResult result, int error) {
    return WriteOutcome{result, error};
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

namespace {

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

} // namespace

FileIdentity identityOfDescriptor(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? identityFromStat(st) : FileIdentity{};
}

FileIdentity identityOf(const std::string& path) {
    // stat, not open: a file we may not read still has an identity, and a FIFO must not block.
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? identityFromStat(st) : FileIdentity{};
}

bool needsInPlaceWrite(const std::string& requested) {
    const std::string path = resolveLink(requested);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false; // a new file is always created by a rename
    }
    if (st.st_nlink > 1 || st.st_uid != ::geteuid()) {
        return true;
    }
    return ::access(folderOf(path).c_str(), W_OK | X_OK) != 0 && errno == EACCES;
}

void removeStaleTemporaries(const std::string& requested, std::time_t now) {
    const std::string path = resolveLink(requested);
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

WriteOutcome writeFileAtomically(const std::string& requested, const std::string& data,
                                 bool durable) {
    ignoreFileSizeSignal();
    const std::string path = resolveLink(requested);
    struct stat st {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return failed(WriteResult::CannotCreate, EISDIR);
        }
        mode = st.st_mode & 07777;
    } else {
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
    int error = 0;
    bool ok = writeAll(fd, data.data(), data.size());
    if (ok && durable) {
        ok = ::fsync(fd) == 0;
    }
    if (!ok) {
        error = errno;
    }
    if (ok && !named) {
        named = nameTemporary(fd, temp);
        if (!named) {
            ok = false;
            error = errno;
        }
    }
    // The old file's mode only now, so the bytes were never readable by others on the way.
    if (ok && ::fchmod(fd, mode) != 0 && errno != EPERM) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        if (named) {
            ::unlink(temp.c_str());
        }
        return failed(WriteResult::WriteFailed, error != 0 ? error : EIO);
    }
    if (durable) {
        syncFolder(folder);
    }
    return {};
}

WriteOutcome writeFileInPlace(const std::string& requested, const std::string& data, bool durable) {
    ignoreFileSizeSignal();
    const std::string path = resolveLink(requested);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return failed(WriteResult::CannotCreate, errno);
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

WriteOutcome writeNewPrivateFile(const std::string& path, const std::string& data) {
    ignoreFileSizeSignal();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return failed(WriteResult::CannotCreate, errno);
    }
    bool ok = writeAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(path.c_str());
        return failed(WriteResult::WriteFailed, error != 0 ? error : EIO);
    }
    return {};
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
