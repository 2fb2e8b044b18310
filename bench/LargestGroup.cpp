// SPDX-License-Identifier: GPL-3.0-or-later
// The largest group a file can hold: 127 publishers with every text field full and twelve months
// of reports, and 254 remarks. Shared by the benchmarks.
#include "LargestGroup.h"

#include "CodePage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace zadw::bench {
namespace {

// Pads text with letters to exactly `chars` characters, so every field is full.
std::string full(std::string text, int chars, int seed) {
    while (static_cast<int>(utf8Length(text)) < chars) {
        text += static_cast<char>('a' + (seed++ % 26));
    }
    return text;
}

void put(GroupRecord& rec, TextField f, const std::string& text) {
    std::string error;
    if (!setTextField(rec, f, text, &error)) {
        std::fprintf(stderr, "%s: %s\n", textFieldName(f), error.c_str());
        std::exit(1);
    }
}

GroupRecord publisher(int p) {
    static const char* const first[] = {"Åsa", "Björn", "Märta", "Örjan", "Karin", "Sven"};
    static const char* const last[] = {"Öberg", "Lindström", "Åkesson", "Ekholm", "Nyström"};
    GroupRecord r{};
    put(r, TextField::FirstName, full(std::string(first[p % 6]) + " ", 20, p));
    put(r, TextField::LastName, full(std::string(last[p % 5]) + "-", 20, p + 7));
    put(r, TextField::Email,
        full("forkunnare" + std::to_string(p) + ".", 38, p) + "@forsamlingen.example.se");
    put(r, TextField::Phone1, "08-" + std::to_string(10000000000LL + p));
    put(r, TextField::Phone2, "+46701" + std::to_string(100000000 + p));
    put(r, TextField::Phone3, "+46702" + std::to_string(200000000 + p));
    r.groupNumber = 7;
    r.appointment = static_cast<std::uint8_t>(p % 4);
    std::uint16_t newForm = 0;
    for (int m = 0; m < 12; ++m) {
        r.monthStatus[m] = static_cast<std::uint8_t>((p + m) % 4);
        r.hours[m] = static_cast<std::uint8_t>(10 + (p * 7 + m) % 90);
        r.quarterHours[m] = static_cast<std::uint8_t>(m % 4);
        r.creditHours[m] = r.category(m) == 2 ? static_cast<std::uint8_t>(m + 1) : 0;
        if (m >= 8) {
            GroupStore::setNewFormMonth(newForm, m, true);
            packNewForm(r, m, {static_cast<std::uint16_t>(p * 3 + m), 4, 12, 3});
        } else {
            packOldForm(r, m, {5, static_cast<std::uint16_t>(300 + p), 0, 900, 14, 2});
        }
    }
    r.setNewFormMonthsValue(newForm);
    // Two remarks per publisher: 127 x 2 = 254 slots, all of them in use.
    r.remarkSlot[2] = static_cast<std::uint8_t>(2 * p - 1);
    r.remarkSlot[9] = static_cast<std::uint8_t>(2 * p);
    r.lateFlag(1) = 1;
    r.lateFlag(8) = 1;
    return r;
}

} // namespace

bool writeLargestGroup(const std::string& path, std::string& error) {
    GroupRecord header{};
    put(header, TextField::Email, "sekreteraren@forsamlingen.example.se");
    header.groupNumber = 7;
    header.reportMonth = 10; // November, a new-form month below
    std::vector<GroupRecord> publishers;
    for (int p = 1; p <= kMaxPublishers; ++p) {
        publishers.push_back(publisher(p));
    }
    std::vector<RemarkSlot> remarks(kMaxRemarkSlots);
    for (int k = 0; k < kMaxRemarkSlots; ++k) {
        const std::string text =
            full("Anteckning " + std::to_string(k + 1) + ": ", kMaxRemarkChars, k);
        text.copy(remarks[static_cast<std::size_t>(k)].text, text.size());
    }
    QuietSink sink;
    GroupStore store(sink);
    store.assign(header, publishers, remarks);
    store.setDurableWrites(false);
    if (!store.saveGroupFile(path)) {
        error = sink.last;
        return false;
    }
    return true;
}

std::string makeScratchFolder() {
    std::string folder = (std::filesystem::temp_directory_path() / "zadw-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return {};
    }
    return folder;
}

} // namespace zadw::bench
