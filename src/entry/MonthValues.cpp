// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonthValues.h"

#include "GroupStore.h"
#include "ReportRules.h"

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
    const auto fits = [newForm](EntryField f, unsigned value) {
        return value <= FieldMaximum(f, newForm);
    };
    return fits(EntryField::BooksOrPublications, v.booksOrPublications) &&
           fits(EntryField::BrochuresOrVideos, v.brochuresOrVideos) &&
           fits(EntryField::Magazines, v.magazineCount) &&
           fits(EntryField::ReturnVisits, v.returnVisitCount) &&
           fits(EntryField::BibleStudies, v.studyCount) && v.wholeHours >= 0 &&
           v.wholeHours <= 255 && v.quarterCode >= 0 && v.quarterCode <= 3;
}

} // namespace

unsigned FieldMaximum(EntryField field, bool newForm) {
    switch (field) {
    case EntryField::BooksOrPublications:
        return newForm ? 4095 : 255; // old-form books are one byte
    case EntryField::BrochuresOrVideos:
        return 4095;
    case EntryField::Hours:
        return 255;
    case EntryField::Magazines:
        return newForm ? 0 : 4095;
    case EntryField::ReturnVisits:
        return 511;
    case EntryField::BibleStudies:
        return 63;
    }
    return 0;
}

std::string RangeMessage(unsigned maximum) {
    return "Please enter an integer between 0 and " + std::to_string(maximum) + ".";
}

FieldCheck CheckCountText(std::string_view text, unsigned maximum) {
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
        r.message = std::string(kPositiveIntegerMessage);
        return r;
    }
    if (value > maximum) {
        r.message = RangeMessage(maximum);
        return r;
    }
    r.ok = true;
    r.value = static_cast<unsigned>(value);
    return r;
}

TakeOver TakeOverFields(const EntryTexts& texts, bool newForm) {
    TakeOver r;
    struct Field {
        EntryField id;
        const std::string* text;
        unsigned* value;
    };
    const std::array<Field, 5> order = {{
        {EntryField::BrochuresOrVideos, &texts.brochuresOrVideos, &r.values.brochuresOrVideos},
        {EntryField::BooksOrPublications, &texts.booksOrPublications,
         &r.values.booksOrPublications},
        {EntryField::Magazines, &texts.magazines, &r.values.magazineCount},
        {EntryField::ReturnVisits, &texts.returnVisits, &r.values.returnVisitCount},
        {EntryField::BibleStudies, &texts.bibleStudies, &r.values.studyCount},
    }};
    for (const Field& f : order) {
        if (newForm && f.id == EntryField::Magazines) {
            continue; // hidden in the new form; the value stays 0
        }
        const FieldCheck check = CheckCountText(*f.text, FieldMaximum(f.id, newForm));
        if (!check.ok) {
            r.failedField = f.id;
            r.message = check.message;
            return r;
        }
        *f.value = check.value;
    }
    const ParsedHours hours = ParseHoursText(texts.hours);
    if (!hours.fits) {
        r.failedField = EntryField::Hours;
        r.message = RangeMessage(FieldMaximum(EntryField::Hours, newForm));
        return r;
    }
    r.values.wholeHours = hours.wholeHours;
    r.values.quarterCode = hours.quarterCode;
    r.ok = true;
    return r;
}

LoadedMonth LoadMonthValues(const GroupRecord& rec, int m, bool newForm) {
    LoadedMonth r;
    EntryValues& v = r.values;
    r.storedNew = GroupStore::isNewFormMonth(rec.newFormMonthsValue(), m);
    if (r.storedNew) {
        const NewFormValues n = unpackNewForm(rec, m);
        v.booksOrPublications = n.publications;
        v.brochuresOrVideos = n.videos;
        v.returnVisitCount = n.returnVisits;
        v.studyCount = n.bibleStudies;
    } else {
        const OldFormValues o = unpackOldForm(rec, m);
        v.booksOrPublications = o.books;
        v.brochuresOrVideos = o.brochures;
        v.magazineCount = o.magazines;
        v.returnVisitCount = o.returnVisits;
        v.studyCount = o.bibleStudies;
        if (newForm) {
            v.booksOrPublications = o.books + o.brochures + o.magazines;
            v.brochuresOrVideos = 0;
            v.magazineCount = 0;
        }
    }
    v.wholeHours = rec.hours[m];
    v.quarterCode = rec.quarterHours[m] & 0x03;
    r.creditHourCount = rec.category(m) == kCategoryRegularPioneer ? rec.creditHours[m] : 0;
    return r;
}

bool StoreMonth(GroupRecord& rec, int m, bool newForm, const EntryValues& values,
                std::uint8_t creditHourCount) {
    if (m < 0 || m > 11 || !fitsForm(values, newForm)) {
        return false;
    }
    if (newForm) {
        NewFormValues n;
        n.publications = static_cast<std::uint16_t>(values.booksOrPublications);
        n.videos = static_cast<std::uint16_t>(values.brochuresOrVideos);
        n.returnVisits = static_cast<std::uint16_t>(values.returnVisitCount);
        n.bibleStudies = static_cast<std::uint16_t>(values.studyCount);
        packNewForm(rec, m, n);
    } else {
        OldFormValues o;
        o.books = static_cast<std::uint16_t>(values.booksOrPublications);
        o.brochures = static_cast<std::uint16_t>(values.brochuresOrVideos);
        o.magazines = static_cast<std::uint16_t>(values.magazineCount);
        o.returnVisits = static_cast<std::uint16_t>(values.returnVisitCount);
        o.bibleStudies = static_cast<std::uint16_t>(values.studyCount);
        packOldForm(rec, m, o); // subscriptions become 0: there is no field for them
    }
    rec.hours[m] = static_cast<std::uint8_t>(values.wholeHours);
    rec.quarterHours[m] = static_cast<std::uint8_t>(values.quarterCode);
    rec.creditHours[m] = creditHourCount;
    std::uint16_t set = rec.newFormMonthsValue();
    GroupStore::setNewFormMonth(set, m, newForm);
    rec.setNewFormMonthsValue(set);
    return true;
}

bool ReportDiffers(const GroupRecord& copy, const GroupRecord& stored, int m) {
    using Bytes = std::uint8_t(GroupRecord::*)[12];
    static constexpr Bytes compared[] = {
        &GroupRecord::books,         &GroupRecord::brochures,    &GroupRecord::hours,
        &GroupRecord::subscriptions, &GroupRecord::magazines,    &GroupRecord::returnVisits,
        &GroupRecord::bibleStudies,  &GroupRecord::quarterHours, &GroupRecord::monthStatus,
    };
    for (const Bytes field : compared) {
        if ((copy.*field)[m] != (stored.*field)[m]) {
            return true;
        }
    }
    return false;
}

} // namespace zadw
