// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report values of both forms, one row each: where a value lives in a month of a record,
// its column heading and entry label, its JSON key, and the entry field it is typed into.
// The store, the entry rules, the summary list, the totals and zadw-tool all read these rows;
// a value added to a form is one more row here (and a control in the entry dialog's template).

#include "GroupRecord.h"
#include "StringIds.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <type_traits>
#include <variant>

namespace zadw {

// The kinds are the secretary's program's value numbers, so their order is fixed.
enum class OldFormValue {
    Books,
    Brochures,
    Hours,
    Subscriptions,
    Magazines,
    ReturnVisits,
    BibleStudies,
    QuarterHours
};
enum class NewFormValue { Publications, Videos, Hours, ReturnVisits, BibleStudies };
using ReportValueKind = std::variant<OldFormValue, NewFormValue>;

// The entry fields, numbered by their control ids in the dialog.
enum class EntryField : int {
    None = 0, // the value has no field of its own
    BooksOrPublications = 139,
    BrochuresOrVideos = 140,
    Hours = 141,
    Magazines = 143, // old form only
    ReturnVisits = 144,
    BibleStudies = 145,
};
// Every field of the entry dialog, in control order.
inline constexpr std::array<EntryField, 6> kEntryFields = {
    EntryField::BooksOrPublications, EntryField::BrochuresOrVideos, EntryField::Hours,
    EntryField::Magazines,           EntryField::ReturnVisits,      EntryField::BibleStudies,
};
// The order OK checks the count fields in (brochures first, as the collector has always seen);
// the hours come after them.
inline constexpr std::array<EntryField, 5> kEntryCheckOrder = {
    EntryField::BrochuresOrVideos, EntryField::BooksOrPublications, EntryField::Magazines,
    EntryField::ReturnVisits,      EntryField::BibleStudies,
};
constexpr std::size_t EntryFieldIndex(EntryField f) {
    std::size_t i = 0;
    while (i < kEntryFields.size() && kEntryFields[i] != f) {
        ++i;
    }
    return i;
}

// What a value is to the list, the totals and the entry: a count, the whole hours, or the
// hours' quarter byte (shown with the hours, never on its own).
enum class ValueRole { Count, Hours, Quarter };

// width bits from bit shift of a month's byte, landing at bit at of the value.
struct BitRun {
    std::uint8_t (GroupRecord::*bytes)[12] = nullptr;
    int shift = 0;
    int width = 0; // 0: no run
    int at = 0;
};

struct ReportValue {
    ReportValueKind kind;
    ValueRole role = ValueRole::Count;
    std::array<BitRun, 3> bits{};                   // the secretary's program fixes these positions
    std::optional<StringId> heading = std::nullopt; // the summary column's heading
    std::optional<StringId> label = std::nullopt;   // the entry field's label; none without a field
    const char* jsonKey = nullptr;                  // as zadw-tool dump and build name it
    bool listed = false;                            // a column of the summary list
    EntryField entry = EntryField::None;
    // Largest value the field accepts (return visits stop short of their bits).
    unsigned entryMaximum = 0;
    // New form: the old-form values that make it up in a month held in the old form.
    std::span<const OldFormValue> inOldMonth{};

    constexpr bool isHours() const { return role == ValueRole::Hours; }
};

namespace values_detail {
using R = GroupRecord;
inline constexpr OldFormValue kPlacements[] = {OldFormValue::Books, OldFormValue::Brochures,
                                               OldFormValue::Magazines};
inline constexpr OldFormValue kOldHours[] = {OldFormValue::Hours};
inline constexpr OldFormValue kOldReturnVisits[] = {OldFormValue::ReturnVisits};
inline constexpr OldFormValue kOldBibleStudies[] = {OldFormValue::BibleStudies};
} // namespace values_detail

// In kind order.
inline constexpr ReportValue kOldFormTable[] = {
    {
        .kind = OldFormValue::Books,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::books, 0, 8, 0}}},
        .heading = StringId::OldFormBooks,
        .label = StringId::OldFormBooks,
        .jsonKey = "books",
        .listed = true,
        .entry = EntryField::BooksOrPublications,
        .entryMaximum = 255,
    },
    {
        .kind = OldFormValue::Brochures,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::brochures, 0, 8, 0},
                  {&values_detail::R::monthStatus, 4, 4, 8}}},
        .heading = StringId::OldFormBrochures,
        .label = StringId::OldFormBrochures,
        .jsonKey = "brochures",
        .listed = true,
        .entry = EntryField::BrochuresOrVideos,
        .entryMaximum = 4095,
    },
    {
        .kind = OldFormValue::Hours,
        .role = ValueRole::Hours,
        .bits = {{{&values_detail::R::hours, 0, 8, 0}}},
        .heading = StringId::OldFormHours,
        .label = StringId::OldFormHours,
        .jsonKey = "hours",
        .listed = true,
        .entry = EntryField::Hours,
        .entryMaximum = 255,
    },
    // Kept and added up, but neither listed nor entered.
    {
        .kind = OldFormValue::Subscriptions,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::subscriptions, 0, 6, 0}}},
        .heading = StringId::OldFormSubscriptions,
        .jsonKey = "subscriptions",
    },
    {
        .kind = OldFormValue::Magazines,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::magazines, 0, 8, 0},
                  {&values_detail::R::bibleStudies, 6, 2, 8},
                  {&values_detail::R::monthStatus, 2, 2, 10}}},
        .heading = StringId::OldFormMagazines,
        .label = StringId::OldFormMagazines,
        .jsonKey = "magazines",
        .listed = true,
        .entry = EntryField::Magazines,
        .entryMaximum = 4095,
    },
    {
        .kind = OldFormValue::ReturnVisits,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::returnVisits, 0, 8, 0},
                  {&values_detail::R::subscriptions, 6, 2, 8}}},
        .heading = StringId::OldFormReturnVisits,
        .label = StringId::OldFormReturnVisits,
        .jsonKey = "returnVisits",
        .listed = true,
        .entry = EntryField::ReturnVisits,
        .entryMaximum = 511,
    },
    {
        .kind = OldFormValue::BibleStudies,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::bibleStudies, 0, 6, 0}}},
        .heading = StringId::OldFormBibleStudies,
        .label = StringId::OldFormBibleStudies,
        .jsonKey = "bibleStudies",
        .listed = true,
        .entry = EntryField::BibleStudies,
        .entryMaximum = 63,
    },
    // The whole byte; the quarter code is its bits 0-1, typed into the hours field.
    {
        .kind = OldFormValue::QuarterHours,
        .role = ValueRole::Quarter,
        .bits = {{{&values_detail::R::quarterHours, 0, 8, 0}}},
        .jsonKey = "quarter",
    },
};

// In kind order. The labels of return visits and Bible studies are the old form's.
inline constexpr ReportValue kNewFormTable[] = {
    {
        .kind = NewFormValue::Publications,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::books, 0, 8, 0}, {&values_detail::R::bibleStudies, 4, 4, 8}}},
        .heading = StringId::NewFormPublications,
        .label = StringId::NewFormPublications,
        .jsonKey = "publications",
        .listed = true,
        .entry = EntryField::BooksOrPublications,
        .entryMaximum = 4095,
        .inOldMonth = values_detail::kPlacements,
    },
    {
        .kind = NewFormValue::Videos,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::brochures, 0, 8, 0},
                  {&values_detail::R::bibleStudies, 0, 4, 8}}},
        .heading = StringId::NewFormVideos,
        .label = StringId::NewFormVideos,
        .jsonKey = "videos",
        .listed = true,
        .entry = EntryField::BrochuresOrVideos,
        .entryMaximum = 4095,
    },
    {
        .kind = NewFormValue::Hours,
        .role = ValueRole::Hours,
        .bits = {{{&values_detail::R::hours, 0, 8, 0}}},
        .heading = StringId::NewFormHours,
        .label = StringId::NewFormHours,
        .jsonKey = "hours",
        .listed = true,
        .entry = EntryField::Hours,
        .entryMaximum = 255,
        .inOldMonth = values_detail::kOldHours,
    },
    {
        .kind = NewFormValue::ReturnVisits,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::subscriptions, 0, 8, 0},
                  {&values_detail::R::returnVisits, 6, 2, 8}}},
        .heading = StringId::NewFormReturnVisits,
        .label = StringId::OldFormReturnVisits,
        .jsonKey = "returnVisits",
        .listed = true,
        .entry = EntryField::ReturnVisits,
        .entryMaximum = 511,
        .inOldMonth = values_detail::kOldReturnVisits,
    },
    {
        .kind = NewFormValue::BibleStudies,
        .role = ValueRole::Count,
        .bits = {{{&values_detail::R::magazines, 0, 6, 0}}},
        .heading = StringId::NewFormBibleStudies,
        .label = StringId::OldFormBibleStudies,
        .jsonKey = "bibleStudies",
        .listed = true,
        .entry = EntryField::BibleStudies,
        .entryMaximum = 63,
        .inOldMonth = values_detail::kOldBibleStudies,
    },
};

constexpr std::span<const ReportValue> FormValues(bool newForm) {
    if (newForm) {
        return kNewFormTable;
    }
    return kOldFormTable;
}
template <class Kind> constexpr std::span<const ReportValue> FormValuesOf() {
    return FormValues(std::is_same_v<Kind, NewFormValue>);
}
constexpr const ReportValue& Describe(OldFormValue k) {
    return kOldFormTable[static_cast<std::size_t>(k)];
}
constexpr const ReportValue& Describe(NewFormValue k) {
    return kNewFormTable[static_cast<std::size_t>(k)];
}
constexpr const ReportValue& Describe(ReportValueKind k) {
    return std::visit([](auto kind) -> const ReportValue& { return Describe(kind); }, k);
}
constexpr bool IsNewForm(ReportValueKind k) {
    return std::holds_alternative<NewFormValue>(k);
}

// The value of a field in a form; null when the form has no value there.
const ReportValue* ValueOfField(EntryField f, bool newForm);
// The form's hours.
const ReportValue& HoursValue(bool newForm);

// The largest value the row's bits hold.
unsigned BitsMaximum(const ReportValue& v);
// The row's bits in month m, as stored (whatever form the month is held in).
std::uint16_t ReadBits(const GroupRecord& r, int m, const ReportValue& v);
// A new-form value whatever form month m is held in; an old-form value as its bits stand.
std::uint16_t ReadMonthValue(const GroupRecord& r, int m, const ReportValue& v);
// The hours' quarter code in month m: bits 0-1 of the quarter byte, in both forms.
int QuarterCode(const GroupRecord& r, int m);

// One month's counts of a form (the values of role Count), in kind order; the hours and the
// quarter byte are set apart.
template <class Kind> constexpr std::size_t CountsOf() {
    std::size_t n = 0;
    for (const ReportValue& v : FormValuesOf<Kind>()) {
        n += v.role == ValueRole::Count ? 1 : 0;
    }
    return n;
}
template <class Kind> constexpr std::size_t CountIndex(Kind k) {
    std::size_t n = 0;
    for (const ReportValue& v : FormValuesOf<Kind>()) {
        if (std::get<Kind>(v.kind) == k) {
            break;
        }
        n += v.role == ValueRole::Count ? 1 : 0;
    }
    return n;
}
template <class Kind> struct FormCounts {
    std::array<std::uint16_t, CountsOf<Kind>()> counts{};

    std::uint16_t& operator[](Kind k) { return counts[CountIndex(k)]; }
    std::uint16_t operator[](Kind k) const { return counts[CountIndex(k)]; }
};
using OldFormValues = FormCounts<OldFormValue>;
using NewFormValues = FormCounts<NewFormValue>;

// Packs a form's counts into month m. Every byte they live in is written whole (bits no count
// uses become 0), except the month status, whose bits 0-1 hold the category: there only the
// counts' bits change. Values wider than their bits are cut to them. The hours, the quarter byte
// and the newFormMonths bit are the caller's.
void PackCounts(GroupRecord& r, int m, bool newForm,
                const std::function<unsigned(const ReportValue&)>& valueOf);

OldFormValues unpackOldForm(const GroupRecord& rec, int m);
NewFormValues unpackNewForm(const GroupRecord& rec, int m);
void packOldForm(GroupRecord& rec, int m, const OldFormValues& v);
void packNewForm(GroupRecord& rec, int m, const NewFormValues& v);

} // namespace zadw
