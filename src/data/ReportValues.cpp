// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportValues.h"

#include "GroupStore.h"

namespace zadw {
namespace {

unsigned runMask(const BitRun& b) {
    return (1u << b.width) - 1;
}

template <class Kind> FormCounts<Kind> unpackCounts(const GroupRecord& r, int m) {
    FormCounts<Kind> out;
    std::size_t i = 0;
    for (const ReportValue& v : FormValuesOf<Kind>()) {
        if (v.role == ValueRole::Count) {
            out.counts[i++] = ReadBits(r, m, v);
        }
    }
    return out;
}

template <class Kind> void packCounts(GroupRecord& r, int m, const FormCounts<Kind>& counts) {
    PackCounts(r, m, std::is_same_v<Kind, NewFormValue>, [&counts](const ReportValue& v) {
        return unsigned{counts[std::get<Kind>(v.kind)]};
    });
}

} // namespace

const ReportValue* ValueOfField(EntryField f, bool newForm) {
    for (const ReportValue& v : FormValues(newForm)) {
        if (f != EntryField::None && v.entry == f) {
            return &v;
        }
    }
    return nullptr;
}

const ReportValue& HoursValue(bool newForm) {
    return newForm ? Describe(NewFormValue::Hours) : Describe(OldFormValue::Hours);
}

unsigned BitsMaximum(const ReportValue& v) {
    int width = 0;
    for (const BitRun& b : v.bits) {
        width += b.width;
    }
    return (1u << width) - 1;
}

std::uint16_t ReadBits(const GroupRecord& r, int m, const ReportValue& v) {
    unsigned value = 0;
    for (const BitRun& b : v.bits) {
        if (b.width != 0) {
            value |= (((r.*b.bytes)[m] >> b.shift) & runMask(b)) << b.at;
        }
    }
    return static_cast<std::uint16_t>(value);
}

std::uint16_t ReadMonthValue(const GroupRecord& r, int m, const ReportValue& v) {
    if (!IsNewForm(v.kind) || GroupStore::isNewFormMonth(r.newFormMonthsValue(), m)) {
        return ReadBits(r, m, v);
    }
    unsigned sum = 0;
    for (const OldFormValue old : v.inOldMonth) {
        sum += ReadBits(r, m, Describe(old));
    }
    return static_cast<std::uint16_t>(sum);
}

int QuarterCode(const GroupRecord& r, int m) {
    return ReadBits(r, m, Describe(OldFormValue::QuarterHours)) & 0x03;
}

void PackCounts(GroupRecord& r, int m, bool newForm,
                const std::function<unsigned(const ReportValue&)>& valueOf) {
    for (const ReportValue& v : FormValues(newForm)) {
        if (v.role != ValueRole::Count) {
            continue;
        }
        for (const BitRun& b : v.bits) {
            if (b.width == 0) {
                continue;
            }
            std::uint8_t& byte = (r.*b.bytes)[m];
            if (b.bytes == &GroupRecord::monthStatus) {
                byte = static_cast<std::uint8_t>(byte & ~(runMask(b) << b.shift));
            } else {
                byte = 0;
            }
        }
    }
    for (const ReportValue& v : FormValues(newForm)) {
        if (v.role != ValueRole::Count) {
            continue;
        }
        const unsigned value = valueOf(v);
        for (const BitRun& b : v.bits) {
            if (b.width != 0) {
                std::uint8_t& byte = (r.*b.bytes)[m];
                byte = static_cast<std::uint8_t>(byte | ((value >> b.at) & runMask(b)) << b.shift);
            }
        }
    }
}

OldFormValues unpackOldForm(const GroupRecord& rec, int m) {
    return unpackCounts<OldFormValue>(rec, m);
}
NewFormValues unpackNewForm(const GroupRecord& rec, int m) {
    return unpackCounts<NewFormValue>(rec, m);
}
void packOldForm(GroupRecord& rec, int m, const OldFormValues& v) {
    packCounts(rec, m, v);
}
void packNewForm(GroupRecord& rec, int m, const NewFormValues& v) {
    packCounts(rec, m, v);
}

} // namespace zadw
