// SPDX-License-Identifier: GPL-3.0-or-later
#include "MissingReports.h"

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

} // namespace

std::vector<MissingLine> CollectMissing(const GroupStore& store) {
    std::vector<MissingLine> lines;
    for (int p = 1; p <= store.publisherCount; ++p) {
        if (!store.isMissing(p, store.reportMonth)) {
            continue;
        }
        const Contacts contacts = store.collectPhones(p);
        MissingLine line;
        line.pub = p;
        line.name = store.displayName(p, true);
        line.numbers.assign(contacts.numbers.begin(), contacts.numbers.begin() + contacts.count);
        line.address = contacts.reminderAddress;
        lines.push_back(std::move(line));
    }
    return lines;
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
        text += line.name + "\t" + NumbersText(line) + "\t" + AddressText(line) + "\n";
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

} // namespace zadw
