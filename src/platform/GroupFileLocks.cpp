// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupFileLocks.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <unistd.h>

namespace zadw {
namespace {

QByteArray keyOf(const std::string& canonicalPath) {
    return QCryptographicHash::hash(QByteArray::fromStdString(canonicalPath),
                                    QCryptographicHash::Sha1)
        .toHex()
        .left(24);
}

constexpr int kHandOverWaitMs = 3000;

} // namespace

GroupFileLocks::GroupFileLocks() = default;

GroupFileLocks::~GroupFileLocks() {
    while (!held_.empty()) {
        release(held_.begin()->first);
    }
}

QString GroupFileLocks::lockPathFor(const std::string& canonicalPath, bool besideFile) {
    const QString file = QFile::decodeName(QByteArray::fromStdString(canonicalPath));
    if (besideFile) {
        const QFileInfo info(file);
        return info.absolutePath() + QStringLiteral("/.") + info.fileName() +
               QStringLiteral(".zadw-lock");
    }
    QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (runtime.isEmpty()) {
        runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    return runtime + QStringLiteral("/zadw/") + QString::fromLatin1(keyOf(canonicalPath)) +
           QStringLiteral(".lock");
}

QString GroupFileLocks::serverNameFor(const std::string& canonicalPath) {
    return QStringLiteral("zadw-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(keyOf(canonicalPath)));
}

FileLocker::Result GroupFileLocks::acquire(const std::string& canonicalPath, bool handOver) {
    if (held_.count(canonicalPath) != 0) {
        return {};
    }
    const QByteArray folder = QFile::encodeName(
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(canonicalPath))).absolutePath());
    const bool beside = ::access(folder.constData(), W_OK | X_OK) == 0;
    for (const bool besideFile : {beside, false}) {
        const QString lockPath = lockPathFor(canonicalPath, besideFile);
        if (!besideFile) {
            QDir().mkpath(QFileInfo(lockPath).absolutePath());
        }
        auto lock = std::make_unique<QLockFile>(lockPath);
        // Only a dead holder makes a lock stale; a slow one on another machine never does.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            Held held;
            held.lock = std::move(lock);
            listen(canonicalPath, held);
            held_.emplace(canonicalPath, std::move(held));
            return {};
        }
        if (lock->error() == QLockFile::LockFailedError) {
            qint64 pid = 0;
            QString host;
            QString app;
            lock->getLockInfo(&pid, &host, &app);
            QString user = QFileInfo(lockPath).owner();
            if (user.isEmpty()) {
                user = QString::number(QFileInfo(lockPath).ownerId());
            }
            const bool ours = QFileInfo(lockPath).ownerId() == ::getuid() &&
                              (host.isEmpty() || host == QSysInfo::machineHostName());
            if (handOver && ours && tryHandOver(canonicalPath)) {
                return {Outcome::HandedOver, {}};
            }
            if (host.isEmpty()) {
                host = QSysInfo::machineHostName();
            }
            return {Outcome::HeldElsewhere, (user + QLatin1Char('@') + host).toStdString()};
        }
        // No lock file could be made here; the runtime folder is tried next.
    }
    return {}; // nowhere to keep a lock: the file is opened as before rather than refused
}

void GroupFileLocks::release(const std::string& canonicalPath) {
    const auto it = held_.find(canonicalPath);
    if (it == held_.end()) {
        return;
    }
    if (it->second.server) {
        it->second.server->close();
    }
    it->second.lock->unlock();
    held_.erase(it);
}

void GroupFileLocks::listen(const std::string& canonicalPath, Held& held) {
    const QString name = serverNameFor(canonicalPath);
    held.server = std::make_unique<QLocalServer>();
    held.server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket of that name is a dead holder's leftover.
    QLocalServer::removeServer(name);
    if (!held.server->listen(name)) {
        held.server.reset();
        return;
    }
    QLocalServer* server = held.server.get();
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) {
                    return;
                }
                if (socket->readLine().trimmed() == "raise") {
                    socket->write("ok\n");
                    socket->flush();
                    if (onHandOver) {
                        onHandOver();
                    }
                }
            });
        }
    });
}

bool GroupFileLocks::tryHandOver(const std::string& canonicalPath) {
    QLocalSocket socket;
    socket.connectToServer(serverNameFor(canonicalPath));
    if (!socket.waitForConnected(kHandOverWaitMs)) {
        return false;
    }
    socket.write("raise\n");
    if (!socket.waitForBytesWritten(kHandOverWaitMs)) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kHandOverWaitMs)) {
            return false;
        }
    }
    return socket.readLine().trimmed() == "ok";
}

} // namespace zadw
