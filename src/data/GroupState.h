// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What this collector's zadw knows of one group file beyond the file itself: when the update
// last surely left and the group as it was sent, and whose report was entered last. It belongs
// to one group file for one month and one user, so it lives in the user's state folder
// ($XDG_STATE_HOME/zadw, by default ~/.local/state/zadw), one small file per group file.

#include "GroupStore.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace zadw {

struct GroupStateData {
    std::string groupPath; // canonical
    int reportMonth = -1;
    unsigned groupNumber = 0;
    // The file's bytes as zadw last read or wrote them: a file replaced from outside between two
    // runs is a new list, and the state starts afresh.
    std::uint64_t fileDigest = 0;
    std::int64_t sentAt = 0; // seconds since the epoch; 0: not sent since the list was read
    std::string lastEntered; // ordinary form of the name
};

class GroupStateFolder {
public:
    // folder "" means $XDG_STATE_HOME/zadw (the variable read directly), else ~/.local/state/zadw.
    explicit GroupStateFolder(std::string folder = {});
    static std::string defaultFolder();
    const std::string& folder() const { return folder_; }

    // False when there is none for this path, or it cannot be read or is damaged.
    bool read(const std::string& canonicalPath, GroupStateData& state) const;
    // Written whole or not at all, mode 0600; false with errno in *error.
    bool write(const GroupStateData& state, int* error = nullptr) const;
    // The group the changes are counted from: as last sent, or before any send as the list was
    // first read. Written the same way.
    bool writeBaseline(const std::string& canonicalPath, const std::string& bytes,
                       int* error = nullptr) const;
    bool readBaseline(const std::string& canonicalPath, std::string& bytes) const;

    std::string stateFileFor(const std::string& canonicalPath) const;
    std::string baselineFor(const std::string& canonicalPath) const;

private:
    std::string folder_;
};

std::uint64_t DigestOf(const std::string& bytes);

// The state file's text, and back; parse gives false for anything it does not fully understand.
std::string FormatGroupState(const GroupStateData& state);
bool ParseGroupState(const std::string& text, GroupStateData& state);

// Whether publisher pub holds the same reports in both groups: every month's figures, category,
// form, remark text and late flag.
bool SameReports(const GroupStore& a, const GroupStore& b, int pub);
// How many publishers' reports differ between the group and an earlier copy of it. A publisher
// the copy lacks counts as changed.
int ChangedPublishers(const GroupStore& now, const GroupStore& before);

} // namespace zadw
