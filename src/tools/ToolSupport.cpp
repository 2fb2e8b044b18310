// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace zadw::tool {

void reportError(const std::string& subject, const std::string& text) {
    std::string line = "zadw-tool: ";
    if (!subject.empty()) {
        line += subject + ": ";
    }
    // Store texts may span lines; scripts read the first line of stderr.
    for (const char c : text) {
        line += c == '\n' ? ' ' : c;
    }
    std::cerr << line << std::endl;
}

MsgAnswer StderrSink::present(const Message& message) {
    reportError(subject, message.text);
    return message.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

int loadWholeGroup(GroupStore& store, const std::string& path) {
    if (!store.loadGroupFile(path)) {
        return kExitFailed; // no memory; the store has said so
    }
    switch (store.lastLoadStatus()) {
    case LoadStatus::Loaded:
        break;
    case LoadStatus::CannotOpen:
    case LoadStatus::NotAGroupFile:
    case LoadStatus::Incomplete:
        return kExitBadInput;
    case LoadStatus::NoMemory:
        return kExitFailed;
    }
    if (!store.storageReady) {
        return kExitFailed;
    }
    return kExitOk;
}

std::string inputName(const std::string& path) {
    return path == "-" ? std::string("standard input") : path;
}

bool readInput(const std::string& path, std::string& out, std::string& error) {
    if (path == "-") {
        std::ostringstream text;
        text << std::cin.rdbuf();
        if (std::cin.bad()) {
            error = "cannot be read";
            return false;
        }
        out = text.str();
        return true;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::string("cannot be opened: ") + std::strerror(errno);
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot be read";
        return false;
    }
    return true;
}

bool writeOutput(const std::string& text) {
    std::cout << text;
    std::cout.flush();
    if (!std::cout) {
        reportError("standard output", "cannot be written");
        return false;
    }
    return true;
}

} // namespace zadw::tool
