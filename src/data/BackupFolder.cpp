// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackupFolder.h"

#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zadw {
namespace {

std::string stemOf(const std::string& groupPath) {
    std::string base = baseNameOf(groupPath);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        base.erase(dot);
    }
    return base;
}

bool isStamp(const std::string& s) {
    if (s.size() != 15 || s[8] != '-') {
        return false;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i != 8 && (s[i] < '0' || s[i] > '9')) {
            return false;
        }
    }
    return true;
}

struct Copy {
    std::string name;
    std::string stamp;
    long long mtime = 0;
    bool plain = false; // a copy as loaded, not one of the tagged safety copies
};

std::vector<Copy> copiesOf(const std::string& folder, const std::string& stem) {
    std::vector<Copy> copies;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return copies;
    }
    const std::string prefix = stem + "-";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < prefix.size() + 15 + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".z08") != 0) {
            continue;
        }
        const std::string stamp = name.substr(prefix.size(), 15);
        if (!isStamp(stamp)) {
            continue;
        }
        const std::string rest = name.substr(prefix.size() + 15, name.size() - prefix.size() - 19);
        bool plain = true; // "" or "-<n>"
        if (!rest.empty()) {
            plain = rest[0] == '-' && rest.size() > 1 &&
                    std::all_of(rest.begin() + 1, rest.end(),
                                [](char c) { return c >= '0' && c <= '9'; });
        }
        struct stat st {};
        const std::string full = folder + "/" + name;
        if (::lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        copies.push_back(
            {name, stamp, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec, plain});
    }
    ::closedir(dir);
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.stamp != b.stamp   ? a.stamp < b.stamp
               : a.mtime != b.mtime ? a.mtime < b.mtime
                                    : a.name < b.name;
    });
    return copies;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes "<stem>-<YYYYMMDD-HHMMSS>[-tag][-n].z08" in folder, whole or not at all.
std::string writeCopy(const std::string& folder, const std::string& stem, const std::string& bytes,
                      const std::string& tag, std::time_t now, int* error) {
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string base = folder + "/" + stem + "-" + stamp;
    if (!tag.empty()) {
        base += '-';
        base += tag;
    }
    for (int n = 1; n < 1000; ++n) {
        std::string path = base;
        if (n != 1) {
            path += '-';
            path += std::to_string(n);
        }
        path += ".z08";
        const WriteOutcome outcome = writeNewPrivateFile(path, bytes, folder + "/" + stem);
        if (outcome.ok()) {
            return path;
        }
        if (outcome.error != EEXIST) {
            if (error != nullptr) {
                *error = outcome.error;
            }
            return {};
        }
    }
    if (error != nullptr) {
        *error = EEXIST;
    }
    return {};
}

} // namespace

BackupFolder::BackupFolder(std::string folder)
    : folder_(folder.empty() ? defaultFolder() : std::move(folder)) {}

std::string BackupFolder::defaultFolder() {
    return desktopFolder("XDG_DATA_HOME", ".local/share") + "/zadw/backups";
}

std::string BackupFolder::keep(const std::string& groupPath, const std::string& bytes,
                               const std::string& tag, std::time_t now, int* error) {
    if (!makePrivateFolders(folder_)) {
        if (error != nullptr) {
            *error = errno;
        }
        return {};
    }
    const std::string stem = stemOf(groupPath);
    removeStaleTemporaries(folder_ + "/" + stem, now); // a killed copy's, where none was unnamed
    if (tag.empty()) {
        const std::vector<Copy> copies = copiesOf(folder_, stem);
        for (auto it = copies.rbegin(); it != copies.rend(); ++it) {
            if (it->plain) {
                const std::string newest = folder_ + "/" + it->name;
                if (readAll(newest) == bytes) {
                    return newest;
                }
                break;
            }
        }
    }
    const std::string path = writeCopy(folder_, stem, bytes, tag, now, error);
    if (!path.empty()) {
        rotate(stem);
    }
    return path;
}

std::string BackupFolder::keepBeside(const std::string& groupPath, const std::string& bytes,
                                     const std::string& tag, std::time_t now, int* error) {
    return writeCopy(folderOf(groupPath), stemOf(groupPath), bytes, tag, now, error);
}

void BackupFolder::rotate(const std::string& stem) {
    const std::vector<Copy> copies = copiesOf(folder_, stem);
    if (copies.size() <= static_cast<std::size_t>(kKeptPerName)) {
        return;
    }
    const std::size_t surplus = copies.size() - static_cast<std::size_t>(kKeptPerName);
    for (std::size_t i = 0; i < surplus; ++i) {
        ::unlink((folder_ + "/" + copies[i].name).c_str());
    }
}

} // namespace zadw
