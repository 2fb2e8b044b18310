// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearOverview.h"

#include "GroupTotals.h"

#include <algorithm>
#include <string_view>

namespace zadw {
namespace {

int slotBack(int reportMonth, int monthsBack) {
    return ((reportMonth - monthsBack) % 12 + 12) % 12;
}

bool isNewFormMonth(const GroupStore& store, int pub, int m) {
    return GroupStore::isNewFormMonth(store.record(pub).newFormMonthsValue(), m);
}

} // namespace

const char* RegularityKey(Regularity r) {
    switch (r) {
    case Regularity::Regular:
        return "regular";
    case Regularity::Irregular:
        return "irregular";
    case Regularity::Inactive:
        break;
    }
    return "inactive";
}

int ReportMonthYear(int todayYear, int todayMonth, int reportMonth) {
    return reportMonth < todayMonth ? todayYear : todayYear - 1;
}

int ServiceYearOf(int reportMonth, int year) {
    return reportMonth >= kSeptember ? year + 1 : year;
}

CalendarMonth SlotMonth(int slot, int reportMonth, int year) {
    return {slot, slot <= reportMonth ? year : year - 1};
}

std::array<int, 12> SlotsOldestFirst(int reportMonth) {
    std::array<int, 12> slots{};
    for (int i = 0; i < 12; ++i) {
        slots[static_cast<std::size_t>(i)] = (reportMonth + 1 + i) % 12;
    }
    return slots;
}

bool InServiceYearSoFar(int slot, int reportMonth) {
    if (reportMonth >= kSeptember) {
        return slot >= kSeptember && slot <= reportMonth;
    }
    return slot >= kSeptember || slot <= reportMonth;
}

std::array<int, 6> RegularityMonths(const GroupStore& store, int pub, int reportMonth) {
    const int newest = store.isReported(pub, reportMonth) ? 0 : 1;
    std::array<int, 6> months{};
    for (int i = 0; i < 6; ++i) {
        months[static_cast<std::size_t>(i)] = slotBack(reportMonth, newest + 5 - i);
    }
    return months;
}

Regularity RegularityOf(const GroupStore& store, int pub, int reportMonth) {
    const std::array<int, 6> months = RegularityMonths(store, pub, reportMonth);
    const auto reported = std::count_if(months.begin(), months.end(),
                                        [&](int m) { return store.isReported(pub, m); });
    if (reported == 6) {
        return Regularity::Regular;
    }
    return reported == 0 ? Regularity::Inactive : Regularity::Irregular;
}

int MonthQuarters(const GroupStore& store, int pub, int m) {
    const ReportValue& hours = HoursValue(isNewFormMonth(store, pub, m));
    return store.value(pub, m, hours.kind) * 4 + QuarterCode(store.record(pub), m);
}

PublisherYear ComputePublisherYear(const GroupStore& store, int pub, int reportMonth, int year,
                                   int regularPioneerGoal) {
    constexpr int kRegularPioneer = 2;
    const GroupRecord& r = store.record(pub);
    PublisherYear out;
    out.pub = pub;
    out.name = store.displayName(pub, true);
    out.category = r.category(reportMonth);
    out.regularity = RegularityOf(store, pub, reportMonth);
    if (out.category == kRegularPioneer) {
        out.goal = regularPioneerGoal;
    }
    const std::array<int, 12> slots = SlotsOldestFirst(reportMonth);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const int s = slots[i];
        PublisherMonth& month = out.months[i];
        month.slot = s;
        month.date = SlotMonth(s, reportMonth, year);
        month.lastYear = month.date.year != year;
        const MonthState state = store.monthState(pub, s);
        month.reported = state == MonthState::Reported;
        month.remarkOnly = state == MonthState::RemarkOnly;
        month.late = store.hasLateFlag(pub, s);
        month.quarters = MonthQuarters(store, pub, s);
        month.creditHours = r.creditHours[s];
        month.category = r.category(s);
        if (InServiceYearSoFar(s, reportMonth)) {
            out.serviceYearQuarters += month.quarters;
            if (month.category == kRegularPioneer) {
                out.serviceYearCreditHours += month.creditHours;
            }
        }
    }
    return out;
}

YearOverview ComputeYearOverview(const GroupStore& store, int reportMonth, int year,
                                 int regularPioneerGoal) {
    YearOverview out;
    out.month = reportMonth;
    out.year = year;
    out.serviceYear = ServiceYearOf(reportMonth, year);
    for (int p = 1; p <= store.publisherCount; ++p) {
        out.publishers.push_back(
            ComputePublisherYear(store, p, reportMonth, year, regularPioneerGoal));
        switch (out.publishers.back().regularity) {
        case Regularity::Regular:
            ++out.regular;
            break;
        case Regularity::Irregular:
            ++out.irregular;
            break;
        case Regularity::Inactive:
            ++out.inactive;
            break;
        }
    }
    const std::array<int, 12> slots = SlotsOldestFirst(reportMonth);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        ChartMonth& g = out.group[i];
        g.slot = slots[i];
        g.date = SlotMonth(g.slot, reportMonth, year);
        g.lastYear = g.date.year != year;
        // Reports and hours are the same in either form.
        const GroupTotals totals = ComputeGroupTotals(store, g.slot, true);
        g.reports = totals.counted.reports;
        g.quarters = totals.counted.quarters;
    }
    return out;
}

std::vector<StoredValue> StoredMonthValues(const GroupStore& store, int pub, int m) {
    std::vector<StoredValue> out;
    for (const ReportValue& v : FormValues(isNewFormMonth(store, pub, m))) {
        if (v.role != ValueRole::Quarter) {
            out.push_back({&v, ReadBits(store.record(pub), m, v)});
        }
    }
    return out;
}

std::vector<const ReportValue*> BothFormsValues() {
    std::vector<const ReportValue*> out;
    for (const bool newForm : {true, false}) {
        for (const ReportValue& v : FormValues(newForm)) {
            const bool known = std::any_of(out.begin(), out.end(), [&](const ReportValue* seen) {
                return std::string_view(seen->jsonKey) == v.jsonKey;
            });
            if (v.role != ValueRole::Quarter && !known) {
                out.push_back(&v);
            }
        }
    }
    return out;
}

} // namespace zadw
