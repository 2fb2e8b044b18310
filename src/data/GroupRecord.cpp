// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupRecord.h"

#include "CodePage.h"

#include <cstring>

namespace zadw {
namespace {

struct FieldInfo {
    std::size_t offset;
    int capacity; // characters, not counting any terminator
    const char* name;
};

FieldInfo info(TextField f) {
    switch (f) {
    case TextField::FirstName:
        return {offsetof(GroupRecord, firstName), 20, "firstName"};
    case TextField::LastName:
        return {offsetof(GroupRecord, lastName), 20, "lastName"};
    case TextField::Email:
        return {offsetof(GroupRecord, email), 62, "email"};
    case TextField::Phone1:
        return {offsetof(GroupRecord, phone1), 14, "phone1"};
    case TextField::Phone2:
        return {offsetof(GroupRecord, phone2), 15, "phone2"};
    case TextField::Phone3:
        return {offsetof(GroupRecord, phone3), 15, "phone3"};
    }
    return {0, 0, ""};
}

std::string boundedBytes(const char* p, int capacity) {
    const void* nul = std::memchr(p, 0, static_cast<std::size_t>(capacity));
    const std::size_t len = nul != nullptr
                                ? static_cast<std::size_t>(static_cast<const char*>(nul) - p)
                                : static_cast<std::size_t>(capacity);
    return std::string(p, len);
}

} // namespace

int textFieldCapacity(TextField f) {
    return info(f).capacity;
}
const char* textFieldName(TextField f) {
    return info(f).name;
}

std::string textField(const GroupRecord& rec, TextField f) {
    const FieldInfo fi = info(f);
    return cp1252ToUtf8(
        boundedBytes(reinterpret_cast<const char*>(rec.bytes() + fi.offset), fi.capacity));
}

bool setTextField(GroupRecord& rec, TextField f, const std::string& utf8, std::string* error) {
    const FieldInfo fi = info(f);
    std::string bytes;
    std::string bad;
    if (!utf8ToCp1252(utf8, bytes, &bad)) {
        if (error != nullptr) {
            *error = "characters that windows-1252 cannot hold: " + bad;
        }
        return false;
    }
    if (bytes.find('\0') != std::string::npos) {
        if (error != nullptr) {
            *error = "a NUL character";
        }
        return false;
    }
    if (static_cast<int>(bytes.size()) > fi.capacity) {
        if (error != nullptr) {
            *error = "longer than " + std::to_string(fi.capacity) + " characters";
        }
        return false;
    }
    unsigned char* p = rec.bytes() + fi.offset;
    std::memset(p, 0, static_cast<std::size_t>(fi.capacity));
    std::memcpy(p, bytes.data(), bytes.size());
    return true;
}

std::string remarkText(const RemarkSlot& slot) {
    return cp1252ToUtf8(boundedBytes(slot.text, kMaxRemarkChars));
}

} // namespace zadw
