// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One writer per group file. The desktop side implements it with lock files and hands a second
// start on the same file over to the window that has it.

#include <string>

namespace zadw {

class FileLocker {
public:
    // NotAnswering: a window of this user on this machine has the file but did not take it.
    enum class Outcome { Acquired, HandedOver, HeldElsewhere, NotAnswering };
    struct Result {
        Outcome outcome = Outcome::Acquired;
        std::string holder; // "user@host" of the holder when held elsewhere
    };
    virtual ~FileLocker() = default;
    // handOver: ask the window holding the file to come forward, when it is ours to ask.
    virtual Result acquire(const std::string& canonicalPath, bool handOver) = 0;
    virtual void release(const std::string& canonicalPath) = 0;
};

} // namespace zadw
