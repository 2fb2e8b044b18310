// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the collector can do with an update file that no mail path can carry: see it in its
// folder, and take the secretary's address along to a mail program of their own.

#include <string>

namespace zadw {

class FileHandOver {
public:
    virtual ~FileHandOver() = default;
    virtual void showFile(const std::string& path) = 0;
    virtual void copyText(const std::string& text) = 0;
};

} // namespace zadw
