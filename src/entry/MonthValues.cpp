// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonthValues.h"

#include "GroupStore.h"
#include "ReportRules.h"
#include "Strings.h"

#include <algorithm>
#include <array>
#include <climits>

namespace zadw {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Values wider than a form's field must never reach the packing, which would cut them.
bool fitsForm(const EntryValues& v, bool newForm) {
    for (const EntryField f : kEntryFields) {
        if (v[f] < 0 || static_cast<unsigned>(v[f]) > FieldMaximum(f, newForm)) {
            return false;
        }
    }
    return v.quarterCode >= 0 && v.quarterCode <= 3;
}

} // namespace

unsigned FieldMaximum(EntryField field, bool newForm) {
    const ReportValue* v = ValueOfField(field, newForm);
    return v == nullptr ? 0 : v->entryMaximum;
}

std::string FieldName(EntryField field, bool newForm) {
    const ReportValue* v = ValueOfField(field, newForm);
    if (v == nullptr || !v->label) {
        return {};
    }
    std::string name = LoadString(*v->label);
    std::erase(name, '&');
    return name;
}

namespace {

// A label that ends in an abbreviation's point ("Bib.st.") ends the sentence with it.
std::string endSentence(std::string text) {
    if (text.ends_with("..")) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string PositiveIntegerMessage(const std::string& fieldName) {
    return endSentence(FormatText(LoadString(StringId::EnterPositiveInteger), fieldName));
}

std::string RangeMessage(unsigned maximum, const std::string& fieldName) {
    return endSentence(FormatArgs(LoadString(StringId::EnterIntegerInRange),
                                  {"0", std::to_string(maximum), fieldName}));
}

std::string HoursMessage(unsigned maximum, const std::string& fieldName) {
    return endSentence(
        FormatArgs(LoadString(StringId::EnterHoursInRange), {std::to_string(maximum), fieldName}));
}

FieldCheck CheckCountText(std::string_view text, unsigned maximum, const std::string& fieldName) {
    FieldCheck r;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    const std::size_t first = i;
    unsigned long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        // Saturate: a long run of digits is out of range, never a small wrapped number.
        value = std::min<unsigned long long>(value * 10 + static_cast<unsigned>(text[i] - '0'),
                                             UINT_MAX + 1ull);
    }
    const bool hasDigits = i > first;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    if (!hasDigits || i != text.size()) {
        r.message = PositiveIntegerMessage(fieldName);
        return r;
    }
    if (value > maximum) {
        r.message = RangeMessage(maximum, fieldName);
        return r;
    }
    r.ok = true;
    r.value = static_cast<unsigned>(value);
    return r;
}

TakeOver TakeOverFields(const EntryTexts& texts, bool newForm) {
    TakeOver r;
    for (const EntryField f : kEntryCheckOrder) {
        const ReportValue* v = ValueOfField(f, newForm);
        if (v == nullptr) {
            continue; // hidden in this form; the value stays 0
        }
        const FieldCheck check =
            CheckCountText(texts[EntryFieldIndex(f)], v->entryMaximum, FieldName(f, newForm));
        if (!check.ok) {
            r.failedField = f;
            r.message = check.message;
            return r;
        }
        r.values[f] = static_cast<int>(check.value);
    }
    const EntryField hoursField = HoursValue(newForm).entry;
    const ParsedHours hours = ParseHoursText(texts[EntryFieldIndex(hoursField)]);
    if (!hours.fits) {
        r.failedField = hoursField;
        r.message = HoursMessage(FieldMaximum(hoursField, newForm), FieldName(hoursField, newForm));
        return r;
    }
    r.values[hoursField] = hours.wholeHours;
    r.values.quarterCode = hours.quarterCode;
    r.ok = true;
    return r;
}

LoadedMonth LoadMonthValues(const GroupRecord& rec, int m, bool newForm) {
    LoadedMonth r;
    r.storedNew = GroupStore::isNewFormMonth(rec.newFormMonthsValue(), m);
    // A month held in the new form shows its own values in either form's fields; one held in
    // the old form and entered in the new one is seen in new-form terms.
    for (const ReportValue& v : FormValues(r.storedNew || newForm)) {
        if (v.entry != EntryField::None) {
            r.values[v.entry] = ReadMonthValue(rec, m, v);
        }
    }
    r.values.quarterCode = QuarterCode(rec, m);
    r.creditHourCount = rec.category(m) == kCategoryRegularPioneer ? rec.creditHours[m] : 0;
    return r;
}

bool StoreMonth(GroupRecord& rec, int m, bool newForm, const EntryValues& values,
                std::uint8_t creditHourCount) {
    if (m < 0 || m > 11 || !fitsForm(values, newForm)) {
        return false;
    }
    // A count without a field (the old form's subscriptions) becomes 0.
    PackCounts(rec, m, newForm, [&values](const ReportValue& v) {
        return v.entry == EntryField::None ? 0u : static_cast<unsigned>(values[v.entry]);
    });
    rec.hours[m] = static_cast<std::uint8_t>(values[HoursValue(newForm).entry]);
    rec.quarterHours[m] = static_cast<std::uint8_t>(values.quarterCode);
    rec.creditHours[m] = creditHourCount;
    std::uint16_t set = rec.newFormMonthsValue();
    GroupStore::setNewFormMonth(set, m, newForm);
    rec.setNewFormMonthsValue(set);
    return true;
}

bool ReportDiffers(const GroupRecord& copy, const GroupRecord& stored, int m) {
    // Every byte a value of either form lives in, whole (the month status with its category).
    for (const bool newForm : {false, true}) {
        for (const ReportValue& v : FormValues(newForm)) {
            for (const BitRun& b : v.bits) {
                if (b.width != 0 && (copy.*b.bytes)[m] != (stored.*b.bytes)[m]) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace zadw
