// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupState.h"

#include "AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zadw {
namespace {

constexpr const char* kFirstLine = "zadw-group-state 1";
// A group file is at most some hundred kilobytes; anything far larger is not ours.
constexpr off_t kMaxFile = 16 * 1024 * 1024;

std::string escaped(const std::string& value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == '%' || c == 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool unescaped(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return false;
        }
        const int hi = hexDigit(text[i + 1]);
        const int lo = hexDigit(text[i + 2]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

template <typename T> bool number(const std::string& text, T& value, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return ec == std::errc() && ptr == end && !text.empty();
}

// A private file replaced whole: one made here is 0600, and a link or FIFO at the path is
// refused by the writer.
bool writePrivate(const std::string& path, const std::string& data, int* error) {
    // The writer gives a new file the mode of the file named last, or 0600 when there is none.
    const WriteOutcome outcome = writeFileAtomically(path, data, true, path);
    if (!outcome.ok()) {
        if (error != nullptr) {
            *error = outcome.result == WriteResult::NotRegularFile ? EEXIST : outcome.error;
        }
        return false;
    }
    return true;
}

bool readSmallFile(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFile;
    bytes.clear();
    char buffer[8192];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
        } else if (n == 0) {
            break;
        } else {
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return ok;
}

std::string stemOf(const std::string& path) {
    std::string base = baseNameOf(path);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        base.erase(dot);
    }
    // The name is only there for a reader of the folder; keep it to plain characters.
    for (char& c : base) {
        if (c == '/' || static_cast<unsigned char>(c) < 0x20) {
            c = '_';
        }
    }
    return base.substr(0, 64);
}

std::string hex16(std::uint64_t value) {
    char text[17];
    static const char* hex = "0123456789abcdef";
    for (int i = 15; i >= 0; --i) {
        text[i] = hex[value & 15];
        value >>= 4;
    }
    text[16] = 0;
    return text;
}

} // namespace

std::uint64_t DigestOf(const std::string& bytes) {
    // FNV-1a: a plain fingerprint, enough to tell whether a file is the one zadw last wrote.
    std::uint64_t h = 14695981039346656037ULL;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

GroupStateFolder::GroupStateFolder(std::string folder)
    : folder_(folder.empty() ? defaultFolder() : std::move(folder)) {}

std::string GroupStateFolder::defaultFolder() {
    return desktopFolder("XDG_STATE_HOME", ".local/state") + "/zadw";
}

std::string GroupStateFolder::stateFileFor(const std::string& canonicalPath) const {
    return folder_ + "/" + stemOf(canonicalPath) + "-" + hex16(DigestOf(canonicalPath)) + ".state";
}

std::string GroupStateFolder::baselineFor(const std::string& canonicalPath) const {
    return folder_ + "/" + stemOf(canonicalPath) + "-" + hex16(DigestOf(canonicalPath)) +
           "-baseline.z08";
}

bool GroupStateFolder::read(const std::string& canonicalPath, GroupStateData& state) const {
    std::string text;
    GroupStateData found;
    if (!readSmallFile(stateFileFor(canonicalPath), text) || !ParseGroupState(text, found) ||
        found.groupPath != canonicalPath) {
        return false;
    }
    state = found;
    return true;
}

bool GroupStateFolder::write(const GroupStateData& state, int* error) const {
    if (!makePrivateFolders(folder_)) {
        if (error != nullptr) {
            *error = errno;
        }
        return false;
    }
    return writePrivate(stateFileFor(state.groupPath), FormatGroupState(state), error);
}

bool GroupStateFolder::writeBaseline(const std::string& canonicalPath, const std::string& bytes,
                                     int* error) const {
    if (!makePrivateFolders(folder_)) {
        if (error != nullptr) {
            *error = errno;
        }
        return false;
    }
    return writePrivate(baselineFor(canonicalPath), bytes, error);
}

bool GroupStateFolder::readBaseline(const std::string& canonicalPath, std::string& bytes) const {
    return readSmallFile(baselineFor(canonicalPath), bytes);
}

std::string FormatGroupState(const GroupStateData& state) {
    std::string text = std::string(kFirstLine) + "\n";
    text += "path=" + escaped(state.groupPath) + "\n";
    text += "month=" + std::to_string(state.reportMonth) + "\n";
    text += "group=" + std::to_string(state.groupNumber) + "\n";
    text += "digest=" + hex16(state.fileDigest) + "\n";
    text += "sent=" + std::to_string(state.sentAt) + "\n";
    text += "last=" + escaped(state.lastEntered) + "\n";
    return text;
}

bool ParseGroupState(const std::string& text, GroupStateData& state) {
    GroupStateData parsed;
    unsigned seen = 0;
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            return false; // cut short
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kFirstLine) {
                return false;
            }
            first = false;
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            return false;
        }
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        bool ok = false;
        unsigned bit = 0;
        if (key == "path") {
            ok = unescaped(value, parsed.groupPath) && !parsed.groupPath.empty();
            bit = 1;
        } else if (key == "month") {
            ok = number(value, parsed.reportMonth) && parsed.reportMonth >= 0 &&
                 parsed.reportMonth <= 11;
            bit = 2;
        } else if (key == "group") {
            ok = number(value, parsed.groupNumber) && parsed.groupNumber <= 255;
            bit = 4;
        } else if (key == "digest") {
            ok = value.size() == 16 && number(value, parsed.fileDigest, 16);
            bit = 8;
        } else if (key == "sent") {
            ok = number(value, parsed.sentAt) && parsed.sentAt >= 0;
            bit = 16;
        } else if (key == "last") {
            ok = unescaped(value, parsed.lastEntered);
            bit = 32;
        }
        if (!ok || (seen & bit) != 0) {
            return false;
        }
        seen |= bit;
    }
    if (first || seen != 63) {
        return false;
    }
    state = parsed;
    return true;
}

bool SameReports(const GroupStore& a, const GroupStore& b, int pub) {
    const GroupRecord& x = a.record(pub);
    const GroupRecord& y = b.record(pub);
    if (x.newFormMonthsValue() != y.newFormMonthsValue()) {
        return false;
    }
    for (int m = 0; m < 12; ++m) {
        const auto i = static_cast<std::size_t>(m);
        if (x.monthStatus[i] != y.monthStatus[i] || x.books[i] != y.books[i] ||
            x.brochures[i] != y.brochures[i] || x.hours[i] != y.hours[i] ||
            x.subscriptions[i] != y.subscriptions[i] || x.magazines[i] != y.magazines[i] ||
            x.returnVisits[i] != y.returnVisits[i] || x.bibleStudies[i] != y.bibleStudies[i] ||
            x.quarterHours[i] != y.quarterHours[i] || x.creditHours[i] != y.creditHours[i] ||
            x.lateFlag(m) != y.lateFlag(m) || a.remarkOf(pub, m) != b.remarkOf(pub, m)) {
            return false;
        }
    }
    return true;
}

int ChangedPublishers(const GroupStore& now, const GroupStore& before) {
    if (!now.storageReady) {
        return 0;
    }
    int changed = 0;
    for (int p = 1; p <= now.publisherCount; ++p) {
        if (!before.storageReady || p > before.publisherCount || !SameReports(now, before, p)) {
            ++changed;
        }
    }
    return changed;
}

} // namespace zadw
