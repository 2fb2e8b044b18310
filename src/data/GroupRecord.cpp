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
    const std::size_t len = nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - p)
                                           : static_cast<std::size_t>(capacity);
    return std::string(p, len);
}

} // namespace

int textFieldCapacity(TextField f) { return info(f).capacity; }
const char* textFieldName(TextField f) { return info(f).name; }

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

OldFormValues unpackOldForm(const GroupRecord& r, int m) {
    OldFormValues v;
    v.books = r.books[m];
    v.brochures = static_cast<std::uint16_t>(r.brochures[m] | ((r.monthStatus[m] >> 4) & 0x0F) << 8);
    v.subscriptions = r.subscriptions[m] & 0x3F;
    v.magazines = static_cast<std::uint16_t>(r.magazines[m] | ((r.bibleStudies[m] >> 6) & 0x03) << 8 |
                                             ((r.monthStatus[m] >> 2) & 0x03) << 10);
    v.returnVisits =
        static_cast<std::uint16_t>(r.returnVisits[m] | ((r.subscriptions[m] >> 6) & 0x03) << 8);
    v.bibleStudies = r.bibleStudies[m] & 0x3F;
    return v;
}

NewFormValues unpackNewForm(const GroupRecord& r, int m) {
    NewFormValues v;
    v.publications = static_cast<std::uint16_t>(r.books[m] | ((r.bibleStudies[m] >> 4) & 0x0F) << 8);
    v.videos = static_cast<std::uint16_t>(r.brochures[m] | (r.bibleStudies[m] & 0x0F) << 8);
    v.returnVisits =
        static_cast<std::uint16_t>(r.subscriptions[m] | ((r.returnVisits[m] >> 6) & 0x03) << 8);
    v.bibleStudies = r.magazines[m] & 0x3F;
    return v;
}

void packOldForm(GroupRecord& r, int m, const OldFormValues& v) {
    r.books[m] = static_cast<std::uint8_t>(v.books & 0xFF);
    r.brochures[m] = static_cast<std::uint8_t>(v.brochures & 0xFF);
    r.magazines[m] = static_cast<std::uint8_t>(v.magazines & 0xFF);
    r.returnVisits[m] = static_cast<std::uint8_t>(v.returnVisits & 0xFF);
    r.subscriptions[m] =
        static_cast<std::uint8_t>((v.subscriptions & 0x3F) | ((v.returnVisits >> 8) & 0x03) << 6);
    r.bibleStudies[m] =
        static_cast<std::uint8_t>((v.bibleStudies & 0x3F) | ((v.magazines >> 8) & 0x03) << 6);
    r.monthStatus[m] = static_cast<std::uint8_t>((r.monthStatus[m] & 0x03) |
                                                 ((v.magazines >> 10) & 0x03) << 2 |
                                                 ((v.brochures >> 8) & 0x0F) << 4);
}

void packNewForm(GroupRecord& r, int m, const NewFormValues& v) {
    r.books[m] = static_cast<std::uint8_t>(v.publications & 0xFF);
    r.brochures[m] = static_cast<std::uint8_t>(v.videos & 0xFF);
    r.subscriptions[m] = static_cast<std::uint8_t>(v.returnVisits & 0xFF);
    r.returnVisits[m] = static_cast<std::uint8_t>(((v.returnVisits >> 8) & 0x03) << 6);
    r.magazines[m] = static_cast<std::uint8_t>(v.bibleStudies & 0x3F);
    r.bibleStudies[m] =
        static_cast<std::uint8_t>(((v.publications >> 8) & 0x0F) << 4 | ((v.videos >> 8) & 0x0F));
}

} // namespace zadw
