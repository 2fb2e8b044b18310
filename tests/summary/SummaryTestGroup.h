// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds summary test groups in memory and picks drawing operations out of the result.

#include "CodePage.h"
#include "DrawOps.h"
#include "GroupStore.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace zadw::test {

class SummaryGroup {
public:
    // count publishers named "Förnamn<p> Efternamn<p>", with room for remarks but none linked.
    void make(int count, bool newForm, int groupNumber = 7) {
        GroupRecord header{};
        header.groupNumber = static_cast<std::uint8_t>(groupNumber);
        std::vector<GroupRecord> pubs(static_cast<std::size_t>(count));
        for (int p = 1; p <= count; ++p) {
            GroupRecord& r = pubs[static_cast<std::size_t>(p - 1)];
            setTextField(r, TextField::FirstName, "Förnamn" + std::to_string(p), nullptr);
            setTextField(r, TextField::LastName, "Efternamn" + std::to_string(p), nullptr);
        }
        store.assign(header, pubs, std::vector<RemarkSlot>(20));
        store.newFormActive = newForm;
        store.language = LayoutLanguage::Swedish;
    }
    void newForm(int p, int m, const NewFormValues& v, int hours, int quarter) {
        GroupRecord& r = store.record(p);
        packNewForm(r, m, v);
        std::uint16_t months = r.newFormMonthsValue();
        GroupStore::setNewFormMonth(months, m, true);
        r.setNewFormMonthsValue(months);
        r.hours[m] = static_cast<std::uint8_t>(hours);
        r.quarterHours[m] = static_cast<std::uint8_t>(quarter);
    }
    void oldForm(int p, int m, const OldFormValues& v, int hours, int quarter) {
        GroupRecord& r = store.record(p);
        packOldForm(r, m, v);
        r.hours[m] = static_cast<std::uint8_t>(hours);
        r.quarterHours[m] = static_cast<std::uint8_t>(quarter);
    }
    void remark(int p, int m, const std::string& text) {
        ++slots_;
        store.setRemark(p, m, slots_, text);
    }
    void phones(int p, const std::string& a, const std::string& b) {
        setTextField(store.record(p), TextField::Phone1, a, nullptr);
        setTextField(store.record(p), TextField::Phone2, b, nullptr);
    }
    void auxiliaryPioneer(int p, int m) {
        GroupRecord& r = store.record(p);
        r.monthStatus[m] = static_cast<std::uint8_t>((r.monthStatus[m] & ~0x03) | 1);
    }

    RecordingSink sink;
    GroupStore store{sink};

private:
    int slots_ = 0;
};

// A font whose every letter is half as wide as the font is high ("W" twice that), and whose
// descenders reach an eighth of its height below it: easy to reckon with, close to Arial.
class FixedMeasure : public TextMeasure {
public:
    int width(const std::string& text, const Font& font) const override {
        const auto wide = std::count(text.begin(), text.end(), 'W');
        return static_cast<int>(utf8Length(text) + static_cast<std::size_t>(wide)) *
               charWidth(font);
    }
    int depth(const Font& font) const override { return std::abs(font.height) * 9 / 8; }
    static int charWidth(const Font& font) { return std::abs(font.height) / 2; }
};

inline std::vector<DrawOp> opsOfKind(const std::vector<DrawOp>& ops, OpKind kind) {
    std::vector<DrawOp> out;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
                 [kind](const DrawOp& op) { return op.kind == kind; });
    return out;
}

inline std::vector<std::string> textsOf(const std::vector<DrawOp>& ops) {
    std::vector<std::string> out;
    for (const DrawOp& op : opsOfKind(ops, OpKind::Text)) {
        out.push_back(op.text);
    }
    return out;
}

// The first text operation with exactly this text; fails the test when there is none.
inline const DrawOp* findText(const std::vector<DrawOp>& ops, const std::string& text) {
    const auto it = std::find_if(ops.begin(), ops.end(), [&](const DrawOp& op) {
        return op.kind == OpKind::Text && op.text == text;
    });
    return it == ops.end() ? nullptr : &*it;
}

} // namespace zadw::test
