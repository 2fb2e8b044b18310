// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupFileLocks.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace zadw {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kDefaultHandOverWaitMs = 5000;

std::string encoded(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString decoded(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A file with other names is written in place, so its device and inode last; any other file
// is replaced at every save and is known by its path.
bool hasOtherLinks(const std::string& canonicalPath, struct stat& st) {
    return ::stat(canonicalPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1;
}

QString keyOf(const std::string& canonicalPath) {
    struct stat st {};
    if (hasOtherLinks(canonicalPath, st)) {
        return QStringLiteral("i%1-%2")
            .arg(quint64(st.st_dev), 0, 16)
            .arg(quint64(st.st_ino), 0, 16);
    }
    return QString::fromLatin1(
        QCryptographicHash::hash(QByteArray::fromStdString(canonicalPath), QCryptographicHash::Sha1)
            .toHex()
            .left(24));
}

QString hostName() {
    return QSysInfo::machineHostName();
}

QString userNameOf(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return pw != nullptr ? QString::fromLocal8Bit(pw->pw_name) : QString::number(uid);
}

// A folder of the user's own that no one else can enter: made 0700 when missing, and refused
// when it is a link, someone else's, or open to others.
bool privateDir(const QString& path) {
    const std::string p = encoded(path);
    if (::mkdir(p.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return false;
    }
    return (st.st_mode & 077) == 0 || ::chmod(p.c_str(), 0700) == 0;
}

enum class LockState { Held, Busy, Unusable };

struct LockTry {
    LockState state = LockState::Unusable;
    int fd = -1;
    QString holder; // user@host of a busy lock
    bool ours = false;
};

// The one who holds a busy lock: the lock file's owner, who alone can write what it says, and
// the host it names.
LockTry busy(int fd) {
    LockTry out;
    out.state = LockState::Busy;
    struct stat st {};
    ::fstat(fd, &st);
    char text[256] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    const QStringList lines = QString::fromUtf8(text, n > 0 ? int(n) : 0).split(QLatin1Char('\n'));
    QString host = lines.size() > 2 ? lines[2].trimmed() : QString();
    if (host.isEmpty()) {
        host = hostName(); // the holder has not written its name yet
    }
    out.ours = st.st_uid == ::geteuid() && host == hostName();
    out.holder = userNameOf(st.st_uid) + QLatin1Char('@') + host;
    ::close(fd);
    return out;
}

// One try at the lock file at path: opened without following a link and without blocking,
// and only ever locked when it is a regular file.
LockTry tryLockAt(const std::string& path, mode_t mode) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        bool created = false;
        int fd = ::open(path.c_str(), O_RDWR | flags);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | flags, 0600);
            if (fd < 0 && errno == EEXIST) {
                continue;
            }
            created = fd >= 0;
        }
        bool writable = fd >= 0;
        if (fd < 0 && errno == EACCES) {
            fd = ::open(path.c_str(), O_RDONLY | flags);
        }
        if (fd < 0) {
            return {}; // a link, or nothing we may open
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return {}; // a FIFO, socket or device is no lock of ours
        }
        if (created) {
            // Whoever may open the group file may see and take its lock.
            ::fchmod(fd, mode);
        }
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (!writable) {
            // Someone else's file we cannot lock for writing: held, or a leftover to clear away.
            if (::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK) {
                return busy(fd);
            }
            ::close(fd);
            if (::unlink(path.c_str()) != 0) {
                return {};
            }
            continue;
        }
        if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
            if (errno == EAGAIN || errno == EACCES) {
                return busy(fd);
            }
            ::close(fd);
            return {}; // no locks on this file system
        }
        // Still the file at path: not removed by a holder letting go while we waited.
        struct stat there {};
        if (::lstat(path.c_str(), &there) != 0 || there.st_dev != st.st_dev ||
            there.st_ino != st.st_ino) {
            ::close(fd);
            continue;
        }
        // A leftover of another user: ours is made anew, so its owner names who has the file.
        if (st.st_uid != ::geteuid() && attempt < 3 && ::unlink(path.c_str()) == 0) {
            ::close(fd);
            continue;
        }
        const QByteArray text =
            QByteArray::number(qint64(::getpid())) + "\nzadw\n" + hostName().toUtf8() + '\n';
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.constData(), text.size(), 0) < 0) {
            // Who has it is only a courtesy; the lock itself holds.
        }
        LockTry out;
        out.state = LockState::Held;
        out.fd = fd;
        return out;
    }
    return {};
}

bool socketAddress(const std::string& path, sockaddr_un& addr) {
    addr = {};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        return false;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int msLeft(SteadyClock::time_point until) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - SteadyClock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Asks the window listening at path to take the file; true when it said it did.
bool askToTakeOver(const std::string& path, SteadyClock::time_point until) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid()) {
        return false;
    }
    sockaddr_un addr{};
    if (!socketAddress(path, addr)) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    if (ok) {
        pollfd out{fd, POLLOUT, 0};
        ok = ::poll(&out, 1, msLeft(until)) == 1 && ::send(fd, "raise\n", 6, MSG_NOSIGNAL) == 6;
    }
    std::string answer;
    while (ok && answer.find('\n') == std::string::npos) {
        pollfd in{fd, POLLIN, 0};
        char buf[16];
        ssize_t n = 0;
        ok = ::poll(&in, 1, msLeft(until)) == 1 && (n = ::recv(fd, buf, sizeof buf, 0)) > 0;
        if (ok) {
            answer.append(buf, std::size_t(n));
        }
    }
    ::close(fd);
    return ok && answer == "ok\n";
}

} // namespace

GroupFileLocks::GroupFileLocks() = default;

GroupFileLocks::~GroupFileLocks() {
    while (!held_.empty()) {
        release(held_.begin()->first);
    }
}

int GroupFileLocks::handOverWaitMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ZADW_HANDOVER_WAIT_MS", &ok);
    return ok && ms >= 0 ? ms : kDefaultHandOverWaitMs;
}

QString GroupFileLocks::privateFolder() {
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        const QString folder = runtime + QStringLiteral("/zadw");
        if (privateDir(folder)) {
            return folder;
        }
    }
    // No runtime folder: one of our own among the caches, per machine since homes are shared.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache) || !privateDir(cache + QStringLiteral("/zadw"))) {
        return {};
    }
    const QString folder = cache + QStringLiteral("/zadw/run-") + hostName();
    return privateDir(folder) ? folder : QString();
}

QString GroupFileLocks::lockPathFor(const std::string& canonicalPath, bool besideFile) {
    if (besideFile) {
        const QFileInfo info(decoded(canonicalPath));
        struct stat st {};
        if (hasOtherLinks(canonicalPath, st)) {
            return info.absolutePath() + QStringLiteral("/.") + keyOf(canonicalPath) +
                   QStringLiteral(".zadw-lock");
        }
        return info.absolutePath() + QStringLiteral("/.") + info.fileName() +
               QStringLiteral(".zadw-lock");
    }
    const QString folder = privateFolder();
    return folder.isEmpty()
               ? QString()
               : folder + QLatin1Char('/') + keyOf(canonicalPath) + QStringLiteral(".lock");
}

QString GroupFileLocks::socketPathFor(const std::string& canonicalPath) {
    const QString folder = privateFolder();
    return folder.isEmpty()
               ? QString()
               : folder + QLatin1Char('/') + keyOf(canonicalPath) + QStringLiteral(".sock");
}

FileLocker::Result GroupFileLocks::acquire(const std::string& canonicalPath, bool handOver) {
    if (held_.count(canonicalPath) != 0) {
        return {};
    }
    struct stat group {};
    const mode_t mode =
        ::stat(canonicalPath.c_str(), &group) == 0 ? (group.st_mode & 0666) | 0600 : 0600;
    const std::string socketPath = encoded(socketPathFor(canonicalPath));

    const auto until = SteadyClock::now() + std::chrono::milliseconds(handOverWaitMs());
    for (;;) {
        LockTry got;
        std::string lockPath;
        // Beside the file, where a lock someone else made is found even by a user who cannot
        // write the folder; in the runtime folder when there is none and the folder cannot take
        // one, or what is at the lock's path is not a lock file (a link, a FIFO) or cannot be
        // locked.
        for (const bool besideFile : {true, false}) {
            lockPath = encoded(lockPathFor(canonicalPath, besideFile));
            if (!lockPath.empty()) {
                got = tryLockAt(lockPath, besideFile ? mode : 0600);
            }
            if (got.state != LockState::Unusable) {
                break;
            }
        }
        if (got.state == LockState::Unusable) {
            return {}; // nowhere to keep a lock: the file is opened as before rather than refused
        }
        Held held;
        if (got.state == LockState::Held) {
            held.lockFd = got.fd;
            held.lockPath = lockPath;
            // A name in another folder has its lock beside it: our own windows on any name
            // of the file also meet in the runtime folder.
            struct stat st {};
            const std::string ownLock = encoded(lockPathFor(canonicalPath, false));
            if (hasOtherLinks(canonicalPath, st) && !ownLock.empty() && ownLock != lockPath) {
                LockTry own = tryLockAt(ownLock, 0600);
                if (own.state == LockState::Held) {
                    held.ownFd = own.fd;
                    held.ownPath = ownLock;
                } else if (own.state == LockState::Busy) {
                    ::unlink(lockPath.c_str());
                    ::close(got.fd);
                    got = own;
                }
            }
        }
        if (got.state == LockState::Held) {
            listen(socketPath, held);
            held_.emplace(canonicalPath, std::move(held));
            return {};
        }
        if (!handOver || !got.ours) {
            return {Outcome::HeldElsewhere, got.holder.toStdString()};
        }
        // A window of ours has it: it may still be starting, or busy for a moment.
        if (askToTakeOver(socketPath,
                          std::min(until, SteadyClock::now() + std::chrono::milliseconds(1000)))) {
            return {Outcome::HandedOver, {}};
        }
        if (SteadyClock::now() >= until) {
            return {Outcome::NotAnswering, got.holder.toStdString()};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(50, msLeft(until))));
    }
}

void GroupFileLocks::release(const std::string& canonicalPath) {
    const auto it = held_.find(canonicalPath);
    if (it == held_.end()) {
        return;
    }
    Held& held = it->second;
    // The socket goes first, then the lock file while the lock still holds, so that no one
    // removes what the next holder made.
    if (held.socketFd >= 0) {
        delete held.notifier;
        ::close(held.socketFd);
        ::unlink(held.socketPath.c_str());
    }
    if (held.ownFd >= 0) {
        ::unlink(held.ownPath.c_str());
        ::close(held.ownFd);
    }
    ::unlink(held.lockPath.c_str());
    ::close(held.lockFd);
    held_.erase(it);
}

void GroupFileLocks::listen(const std::string& socketPath, Held& held) {
    sockaddr_un addr{};
    if (!socketAddress(socketPath, addr)) {
        return;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    // The folder is ours alone and we hold the lock: what is there is a dead holder's leftover.
    ::unlink(socketPath.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 8) != 0) {
        ::close(fd);
        return;
    }
    held.socketFd = fd;
    held.socketPath = socketPath;
    held.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(held.notifier, &QSocketNotifier::activated, this, [this, fd] { accept(fd); });
}

void GroupFileLocks::accept(int listenFd) {
    for (;;) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        auto line = std::make_shared<std::string>();
        connect(notifier, &QSocketNotifier::activated, this, [this, fd, notifier, line] {
            char buf[64];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                return;
            }
            if (n > 0) {
                line->append(buf, std::size_t(n));
                if (line->find('\n') == std::string::npos && line->size() < 64) {
                    return;
                }
            }
            const bool raise = *line == "raise\n";
            if (raise) {
                ::send(fd, "ok\n", 3, MSG_NOSIGNAL);
            }
            notifier->setEnabled(false);
            notifier->deleteLater();
            ::close(fd);
            if (raise && onHandOver) {
                onHandOver();
            }
        });
    }
}

} // namespace zadw
