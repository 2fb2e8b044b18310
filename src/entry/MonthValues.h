// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One month's entry values: taking them from the field texts with their range checks, unpacking
// them from a record copy and packing them back into it.

#include "ReportValues.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zadw {

// One month as the entry fields hold it: a number per field of kEntryFields (the whole hours
// in the hours field's) and the quarter code typed with the hours.
struct EntryValues {
    std::array<int, kEntryFields.size()> fields{};
    int quarterCode = 0;

    int& operator[](EntryField f) { return fields[EntryFieldIndex(f)]; }
    int operator[](EntryField f) const { return fields[EntryFieldIndex(f)]; }
    bool operator==(const EntryValues&) const = default;
};

// Largest value a field takes in a form, so that everything accepted reads back the same.
// Magazines in the new form: 0 (the field is not part of that form).
unsigned FieldMaximum(EntryField field, bool newForm);

// The field's name in messages: its label in the form, without the mnemonic's "&".
std::string FieldName(EntryField field, bool newForm);
// The refusals of a count field's text, and of the hours, naming the field.
std::string PositiveIntegerMessage(const std::string& fieldName);
std::string RangeMessage(unsigned maximum, const std::string& fieldName);
std::string HoursMessage(unsigned maximum, const std::string& fieldName);

struct FieldCheck {
    bool ok = false;
    unsigned value = 0;
    std::string message; // set when !ok
};
// A count field's text as an unsigned decimal number (blanks around it allowed) within 0..maximum.
FieldCheck CheckCountText(std::string_view text, unsigned maximum, const std::string& fieldName);

// The fields' texts, in kEntryFields order.
using EntryTexts = std::array<std::string, kEntryFields.size()>;
struct TakeOver {
    bool ok = false;
    EntryField failedField = EntryField::BooksOrPublications; // gets the focus when !ok
    std::string message;                                      // to show when !ok
    EntryValues values;                                       // valid when ok
};
// Takes the fields over as OK does: the form's count fields in kEntryCheckOrder, then the
// hours; the first failure stops it. A field the form lacks stays 0.
TakeOver TakeOverFields(const EntryTexts& texts, bool newForm);

struct LoadedMonth {
    EntryValues values;
    bool storedNew = false; // the record holds the month in the new form
    std::uint8_t creditHourCount = 0;
};
// Unpacks month m of a record copy for entry in the given form. A month held in the old form
// but entered in the new one shows all its placements as publications.
LoadedMonth LoadMonthValues(const GroupRecord& rec, int m, bool newForm);

// Packs the values into month m in the given form, with quarter hours, credit hours and the
// month's newFormMonths bit (cleared for the old form, so bytes and bit agree). Returns false,
// leaving the record alone, when a value does not fit the form.
bool StoreMonth(GroupRecord& rec, int m, bool newForm, const EntryValues& values,
                std::uint8_t creditHourCount);

// Whether the report bytes of month m differ between the copy and the store's record
// (remark slot, credit hours and newFormMonths are carried along, not compared).
bool ReportDiffers(const GroupRecord& copy, const GroupRecord& stored, int m);

} // namespace zadw
