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
    bool reminded = false;
};

// The list's sections in the order shown, each under a heading line of its own.
enum class ChaseKind { Missing, RemarkOnly };

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
// The report month's sections that have a line, in order: the missing, then the remark-only
// months. Each section's lines are in file order.
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
