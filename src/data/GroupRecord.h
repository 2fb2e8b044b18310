// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One 336-byte record of a group file: record 0 is the header, records 1..n the publishers.
// The layout is fixed by the secretary's program, so every offset is pinned below.

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace zadw {

constexpr std::size_t kRecordSize = 336;
constexpr std::size_t kRemarkSlotSize = 40;
constexpr int kMaxRemarkChars = 36;
constexpr int kMaxPublishers = 127;
constexpr int kMaxRemarkSlots = 254;

struct GroupRecord {
    std::uint8_t reserved0[2];
    char firstName[21];
    char lastName[21];
    char email[63];
    char phone1[15];
    char phone2[15];              // no terminator of its own
    char phone3[15];              // no terminator of its own
    std::uint8_t lateFlagsLow[6]; // January..June
    std::uint8_t reserved158[2];
    std::uint8_t terminator160;
    std::uint8_t lateFlagsHigh[6]; // July..December
    std::uint8_t reserved167[2];
    std::uint8_t terminator169;
    std::uint8_t reserved170[10];
    std::uint8_t publisherCount; // header only; signed in the file
    std::uint8_t groupNumber;    // header: unsigned; publisher: signed
    std::uint8_t reserved182[2];
    std::uint8_t remarkCount[2]; // header only; little-endian
    std::uint8_t reserved186[10];
    std::uint8_t newFormMonths[2]; // little-endian bit set, bit m = month m in the new form
    std::uint8_t reserved198[4];
    std::uint8_t monthStatus[12];
    std::uint8_t reportMonth; // header only
    std::uint8_t appointment;
    std::uint8_t books[12];
    std::uint8_t brochures[12];
    std::uint8_t hours[12];
    std::uint8_t subscriptions[12];
    std::uint8_t magazines[12];
    std::uint8_t returnVisits[12];
    std::uint8_t bibleStudies[12];
    std::uint8_t quarterHours[12];
    std::uint8_t remarkSlot[12];
    std::uint8_t creditHours[12];

    unsigned char* bytes() { return reinterpret_cast<unsigned char*>(this); }
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(this); }

    std::uint16_t remarkCountValue() const {
        return static_cast<std::uint16_t>(remarkCount[0] | (remarkCount[1] << 8));
    }
    void setRemarkCountValue(std::uint16_t v) {
        remarkCount[0] = static_cast<std::uint8_t>(v & 0xFF);
        remarkCount[1] = static_cast<std::uint8_t>(v >> 8);
    }
    std::uint16_t newFormMonthsValue() const {
        return static_cast<std::uint16_t>(newFormMonths[0] | (newFormMonths[1] << 8));
    }
    void setNewFormMonthsValue(std::uint16_t v) {
        newFormMonths[0] = static_cast<std::uint8_t>(v & 0xFF);
        newFormMonths[1] = static_cast<std::uint8_t>(v >> 8);
    }
    // The late flag of month m: offset 152 + m for January..June, 155 + m for July..December.
    std::uint8_t& lateFlag(int m) { return m < 6 ? lateFlagsLow[m] : lateFlagsHigh[m - 6]; }
    std::uint8_t lateFlag(int m) const { return m < 6 ? lateFlagsLow[m] : lateFlagsHigh[m - 6]; }
    int category(int m) const { return monthStatus[m] & 0x03; }
};

static_assert(sizeof(GroupRecord) == kRecordSize);
static_assert(std::is_standard_layout_v<GroupRecord> && std::is_trivially_copyable_v<GroupRecord>);
static_assert(offsetof(GroupRecord, firstName) == 2);
static_assert(offsetof(GroupRecord, lastName) == 23);
static_assert(offsetof(GroupRecord, email) == 44);
static_assert(offsetof(GroupRecord, phone1) == 107);
static_assert(offsetof(GroupRecord, phone2) == 122);
static_assert(offsetof(GroupRecord, phone3) == 137);
static_assert(offsetof(GroupRecord, lateFlagsLow) == 152);
static_assert(offsetof(GroupRecord, reserved158) == 158);
static_assert(offsetof(GroupRecord, terminator160) == 160);
static_assert(offsetof(GroupRecord, lateFlagsHigh) == 161);
static_assert(offsetof(GroupRecord, reserved167) == 167);
static_assert(offsetof(GroupRecord, terminator169) == 169);
static_assert(offsetof(GroupRecord, reserved170) == 170);
static_assert(offsetof(GroupRecord, publisherCount) == 180);
static_assert(offsetof(GroupRecord, groupNumber) == 181);
static_assert(offsetof(GroupRecord, reserved182) == 182);
static_assert(offsetof(GroupRecord, remarkCount) == 184);
static_assert(offsetof(GroupRecord, reserved186) == 186);
static_assert(offsetof(GroupRecord, newFormMonths) == 196);
static_assert(offsetof(GroupRecord, reserved198) == 198);
static_assert(offsetof(GroupRecord, monthStatus) == 202);
static_assert(offsetof(GroupRecord, reportMonth) == 214);
static_assert(offsetof(GroupRecord, appointment) == 215);
static_assert(offsetof(GroupRecord, books) == 216);
static_assert(offsetof(GroupRecord, brochures) == 228);
static_assert(offsetof(GroupRecord, hours) == 240);
static_assert(offsetof(GroupRecord, subscriptions) == 252);
static_assert(offsetof(GroupRecord, magazines) == 264);
static_assert(offsetof(GroupRecord, returnVisits) == 276);
static_assert(offsetof(GroupRecord, bibleStudies) == 288);
static_assert(offsetof(GroupRecord, quarterHours) == 300);
static_assert(offsetof(GroupRecord, remarkSlot) == 312);
static_assert(offsetof(GroupRecord, creditHours) == 324);

// One remark: at most 36 characters, byte 36 always 0, bytes 37..39 not significant.
struct RemarkSlot {
    char text[40];
};
static_assert(sizeof(RemarkSlot) == kRemarkSlotSize);

// The text fields of a record, with the most characters each can hold.
enum class TextField { FirstName, LastName, Email, Phone1, Phone2, Phone3 };
int textFieldCapacity(TextField f);
const char* textFieldName(TextField f);

// Reads a field as UTF-8, never past the field's own bytes (a damaged file may lack the
// terminator).
std::string textField(const GroupRecord& rec, TextField f);
// Stores UTF-8 text into a field, zero-filling the rest of it. Fails, leaving the record alone,
// when the text is too long or holds a character windows-1252 cannot carry; why goes to *error.
bool setTextField(GroupRecord& rec, TextField f, const std::string& utf8, std::string* error);

std::string remarkText(const RemarkSlot& slot);

} // namespace zadw
