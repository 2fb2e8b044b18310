// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One zadw per group file: a lock file that other zadw processes see (QLockFile), and a local
// socket through which a second start on the same file hands it to the window that has it.

#include "OpenGroupFile.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class QLockFile;
class QLocalServer;

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

    // Beside the file, so other users of a shared folder see it; in the user's runtime folder
    // when the file's folder cannot take it.
    static QString lockPathFor(const std::string& canonicalPath, bool besideFile);
    static QString serverNameFor(const std::string& canonicalPath);

private:
    struct Held {
        std::unique_ptr<QLockFile> lock;
        std::unique_ptr<QLocalServer> server;
    };
    bool tryHandOver(const std::string& canonicalPath);
    void listen(const std::string& canonicalPath, Held& held);

    std::map<std::string, Held> held_;
};

} // namespace zadw
