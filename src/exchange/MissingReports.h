// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The publishers whose report of the month is missing, and those whose month holds only a
// remark, with the numbers to ring and the address to remind, and who a reminder reaches.

#include "GroupStore.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zadw {

struct MissingLine {
    int pub = 0;
    std::string name;                 // list form
    std::vector<std::string> numbers; // every usable number
    std::string address;              // the reminder address; empty when none is usable
    std::string remark;               // the month's remark, for a month that holds only one
    int month = -1;                   // a late report's month
    std::string figures;              // a late report's month and figures, as the list shows them
    bool reminded = false;
};

// The list's sections in the order shown, each under a heading line of its own. The late
// reports are every month whose late flag is set: they reach the secretary with the next update.
enum class ChaseKind { Missing, RemarkOnly, Late };

struct ChaseSection {
    ChaseKind kind = ChaseKind::Missing;
    std::string heading;
    std::vector<MissingLine> lines;
};

// A row of the shown list: a section's heading (line < 0) or one of its lines.
struct ChaseRow {
    std::size_t section = 0;
    int line = -1;
    bool isHeading() const { return line < 0; }
};

// The report month's missing publishers of store, in file order. The store is only read.
std::vector<MissingLine> CollectMissing(const GroupStore& store);
// Every month of the group whose late flag is set, as above.
std::vector<MissingLine> CollectLate(const GroupStore& store);
// A month's figures as the list shows them: "maj: Timmar 10½, Publ. 2"; values that are 0 are
// left out.
std::string LateFiguresText(const GroupStore& store, int pub, int m);
// The report month's sections that have a line, in order: the missing, the remark-only months,
// then the late reports. Each section's lines are in file order (a publisher's late months
// oldest first).
std::vector<ChaseSection> CollectSections(const GroupStore& store);
// Every section's heading row, then a row for each of its lines.
std::vector<ChaseRow> ChaseRows(const std::vector<ChaseSection>& sections);
// A line's cells as the list shows them: the numbers joined by ", ", the address or "–".
std::string NumbersText(const MissingLine& line);
std::string AddressText(const MissingLine& line);
// One publisher a line: name, numbers, address and any remark, separated by tabs.
std::string ListText(const std::vector<MissingLine>& lines);
// Each section's heading on a line of its own, then its lines as above.
std::string ListText(const std::vector<ChaseSection>& sections);
// The lines a reminder to all reaches: those with a usable address, in list order.
std::vector<std::size_t> ReminderRecipients(const std::vector<MissingLine>& lines);
// The missing section's lines, which alone a reminder is for; null when nobody is missing.
const ChaseSection* MissingSection(const std::vector<ChaseSection>& sections);

} // namespace zadw
