// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The publishers whose report of the month is missing, with the numbers to ring and the address
// to remind, and who a reminder to all of them reaches.

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
    bool reminded = false;
};

// The report month's missing publishers of store, in file order. The store is only read.
std::vector<MissingLine> CollectMissing(const GroupStore& store);
// A line's cells as the list shows them: the numbers joined by ", ", the address or "–".
std::string NumbersText(const MissingLine& line);
std::string AddressText(const MissingLine& line);
// One publisher a line: name, numbers, address, separated by tabs.
std::string ListText(const std::vector<MissingLine>& lines);
// The lines a reminder to all reaches: those with a usable address, in list order.
std::vector<std::size_t> ReminderRecipients(const std::vector<MissingLine>& lines);

} // namespace zadw
