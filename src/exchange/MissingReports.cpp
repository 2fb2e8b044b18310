// SPDX-License-Identifier: GPL-3.0-or-later
#include "MissingReports.h"

#include "Strings.h"

namespace zadw {
namespace {

constexpr const char* kNoAddress = "–";

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : separator) + p;
    }
    return out;
}

MissingLine lineFor(const GroupStore& store, int p) {
    const Contacts contacts = store.collectPhones(p);
    MissingLine line;
    line.pub = p;
    line.name = store.displayName(p, true);
    line.numbers.assign(contacts.numbers.begin(), contacts.numbers.begin() + contacts.count);
    line.address = contacts.reminderAddress;
    return line;
}

std::vector<MissingLine> linesIn(const GroupStore& store, MonthState state) {
    const int m = store.reportMonth;
    std::vector<MissingLine> lines;
    for (int p = 1; p <= store.publisherCount; ++p) {
        if (store.monthState(p, m) != state) {
            continue;
        }
        MissingLine line = lineFor(store, p);
        if (state == MonthState::RemarkOnly) {
            line.remark = store.remarkOf(p, m);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// One row per section, in the order shown; a new section is one more row.
struct SectionRule {
    ChaseKind kind;
    std::vector<MissingLine> (*collect)(const GroupStore& store);
    std::string (*heading)(int m);
};

constexpr SectionRule kSections[] = {
    {ChaseKind::Missing, [](const GroupStore& s) { return linesIn(s, MonthState::Missing); },
     [](int m) { return FormatText(LoadString(StringId::MissingReportsFor), monthName(m)); }},
    {ChaseKind::RemarkOnly, [](const GroupStore& s) { return linesIn(s, MonthState::RemarkOnly); },
     [](int) { return LoadString(StringId::RemarkOnly); }},
    {ChaseKind::Late, CollectLate, [](int) { return LoadString(StringId::LateReports); }},
};

std::string hoursText(unsigned whole, int quarter) {
    static const char* const kSigns[] = {"", "¼", "½", "¾"};
    return std::to_string(whole) + kSigns[quarter & 3];
}

} // namespace

std::vector<MissingLine> CollectMissing(const GroupStore& store) {
    return linesIn(store, MonthState::Missing);
}

std::vector<MissingLine> CollectLate(const GroupStore& store) {
    std::vector<MissingLine> lines;
    for (int p = 1; p <= store.publisherCount; ++p) {
        for (const int m : store.lateMonths(p, store.reportMonth)) {
            MissingLine line = lineFor(store, p);
            line.month = m;
            line.figures = LateFiguresText(store, p, m);
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

std::string LateFiguresText(const GroupStore& store, int pub, int m) {
    const GroupRecord& r = store.record(pub);
    const bool newForm = GroupStore::isNewFormMonth(r.newFormMonthsValue(), m);
    std::string figures;
    for (const ReportValue& v : FormValues(newForm)) {
        if (!v.listed || !v.heading) {
            continue;
        }
        const unsigned value = ReadMonthValue(r, m, v);
        const int quarter = v.isHours() ? QuarterCode(r, m) : 0;
        if (value == 0 && quarter == 0) {
            continue;
        }
        figures += (figures.empty() ? "" : ", ") + LoadString(*v.heading) + " " +
                   (v.isHours() ? hoursText(value, quarter) : std::to_string(value));
    }
    return figures.empty() ? monthName(m) : monthName(m) + ": " + figures;
}

std::vector<ChaseSection> CollectSections(const GroupStore& store) {
    std::vector<ChaseSection> sections;
    for (const SectionRule& rule : kSections) {
        ChaseSection section{rule.kind, rule.heading(store.reportMonth), rule.collect(store)};
        if (!section.lines.empty()) {
            sections.push_back(std::move(section));
        }
    }
    return sections;
}

std::vector<ChaseRow> ChaseRows(const std::vector<ChaseSection>& sections) {
    std::vector<ChaseRow> rows;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        rows.push_back({s, -1});
        for (std::size_t i = 0; i < sections[s].lines.size(); ++i) {
            rows.push_back({s, static_cast<int>(i)});
        }
    }
    return rows;
}

std::string NumbersText(const MissingLine& line) {
    return joined(line.numbers, ", ");
}

std::string AddressText(const MissingLine& line) {
    return line.address.empty() ? std::string(kNoAddress) : line.address;
}

std::string ListText(const std::vector<MissingLine>& lines) {
    std::string text;
    for (const MissingLine& line : lines) {
        text += line.name + "\t" + NumbersText(line) + "\t" + AddressText(line);
        text += (line.remark.empty() ? "" : "\t" + line.remark);
        text += (line.figures.empty() ? "" : "\t" + line.figures) + "\n";
    }
    return text;
}

std::string ListText(const std::vector<ChaseSection>& sections) {
    std::string text;
    for (const ChaseSection& section : sections) {
        text += section.heading + "\n" + ListText(section.lines);
    }
    return text;
}

std::vector<std::size_t> ReminderRecipients(const std::vector<MissingLine>& lines) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].address.empty()) {
            chosen.push_back(i);
        }
    }
    return chosen;
}

const ChaseSection* MissingSection(const std::vector<ChaseSection>& sections) {
    for (const ChaseSection& section : sections) {
        if (section.kind == ChaseKind::Missing) {
            return &section;
        }
    }
    return nullptr;
}

} // namespace zadw
