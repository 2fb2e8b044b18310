// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copies of group files kept apart from them: each file as loaded, and the bytes zadw would
// otherwise have replaced or lost. A collector restores one by opening it as a new list.

#include <ctime>
#include <string>

namespace zadw {

class BackupFolder {
public:
    static constexpr int kKeptPerName = 50;

    // folder "" means the desktop's data folder: $XDG_DATA_HOME/zadw/backups, by default
    // ~/.local/share/zadw/backups.
    explicit BackupFolder(std::string folder = {});
    static std::string defaultFolder();
    const std::string& folder() const { return folder_; }

    // Keeps bytes as "<name without extension>-<YYYYMMDD-HHMMSS>[-tag].z08" (mode 0600) and
    // returns its path, or "" with errno in *error. A plain copy identical to the newest plain
    // copy of that name is not made again; the newest one's path is returned instead.
    std::string keep(const std::string& groupPath, const std::string& bytes, const std::string& tag,
                     std::time_t now, int* error = nullptr);
    // The same copy in the group file's own folder, for when the backup folder cannot take it;
    // not counted among the kept copies.
    static std::string keepBeside(const std::string& groupPath, const std::string& bytes,
                                  const std::string& tag, std::time_t now, int* error = nullptr);

private:
    void rotate(const std::string& stem);
    std::string folder_;
};

} // namespace zadw
