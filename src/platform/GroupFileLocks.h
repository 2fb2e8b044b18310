// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One zadw per group file: an open-file-description lock on a lock file that other zadw processes
// see, and a local socket in a folder of the user's own through which a second start on the same
// file hands it to the window that has it.

#include "OpenGroupFile.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace zadw {

class GroupFileLocks : public QObject, public FileLocker {
    Q_OBJECT

public:
    GroupFileLocks();
    ~GroupFileLocks() override;

    Result acquire(const std::string& canonicalPath, bool handOver) override;
    void release(const std::string& canonicalPath) override;

    // Runs in the window that holds a file when a second start asks for it.
    std::function<void()> onHandOver;

    // How long a second start keeps asking a window of the same user to take the file before
    // it says that window does not answer (ZADW_HANDOVER_WAIT_MS, for tests).
    static int handOverWaitMs();

    // Beside the file, so other users of a shared folder see it; in the user's runtime folder
    // when the file's folder cannot take it. A file with other hard links is keyed on its device
    // and inode, so every name of it shares one lock.
    static QString lockPathFor(const std::string& canonicalPath, bool besideFile);
    static QString socketPathFor(const std::string& canonicalPath);
    // The user's own folder for locks and sockets: $XDG_RUNTIME_DIR/zadw, else one under the
    // cache folder; empty when it cannot be made private.
    static QString privateFolder();

private:
    struct Held {
        int lockFd = -1;
        std::string lockPath;
        int ownFd = -1; // a linked file's lock in the runtime folder, beside the shared one
        std::string ownPath;
        int socketFd = -1;
        std::string socketPath;
        QSocketNotifier* notifier = nullptr;
    };
    void listen(const std::string& socketPath, Held& held);
    void accept(int listenFd);

    std::map<std::string, Held> held_;
};

} // namespace zadw
