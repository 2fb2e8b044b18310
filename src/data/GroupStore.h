// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one in-memory group: the header, the publisher records (always held unscrambled) and the
// remark slots, with the small record operations the rest of the program shares.

#include "AtomicFile.h"
#include "GroupRecord.h"
#include "LayoutLanguage.h"
#include "MessageSink.h"
#include "ReportValues.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zadw {

struct Contacts {
    std::array<std::string, 3> numbers; // usable numbers, packed to the front
    int count = 0;
    std::string reminderAddress; // empty unless a reminder can be sent
};

// How a publisher's month stands. A remark alone (say "sjuk") explains the month, so it is not
// missing, yet it carries no figures: every count shows it apart.
enum class MonthState { Reported, Missing, RemarkOnly };

// Every publisher's month falls in exactly one of these.
struct MonthCounts {
    int reported = 0;
    int missing = 0;
    int remarkOnly = 0;
};

enum class LoadStatus { Loaded, CannotOpen, NotAGroupFile, Incomplete, NoMemory };
enum class ReadResult { Ok, CannotOpen, NoMemory };

class GroupStore {
public:
    explicit GroupStore(MessageSink& messages) : messages_(messages) {}

    // False only when storage cannot be had. A file that cannot be opened or is not a group
    // file leaves an empty group (and says so); lastLoadStatus() tells which case it was.
    bool loadGroupFile(const std::string& path);
    // Loads a group from a file's bytes already read; path names it in messages.
    bool loadFromBytes(const std::string& bytes, const std::string& path);
    // True when the file was written; the old file stays untouched on any failure. A new file
    // gets the mode, group and ACL of permissionsFrom when it is named, never wider.
    bool saveGroupFile(const std::string& path, const std::string& permissionsFrom = {});
    // The file's bytes for the group as it stands; false ("Low Memory" shown) without storage.
    bool serialize(std::string& data);
    // Reads a regular file whole, without blocking on FIFOs or devices; identity from the same
    // open file.
    static ReadResult readFileBytes(const std::string& path, std::string& bytes,
                                    FileIdentity* identity);
    void releaseStorage();

    std::string displayName(int pub, bool listForm) const;
    Contacts collectPhones(int pub) const;
    std::string phoneForPrint(int pub, bool second) const;
    MonthState monthState(int pub, int m) const;
    bool isReported(int pub, int m) const { return monthState(pub, m) == MonthState::Reported; }
    bool isMissing(int pub, int m) const { return monthState(pub, m) == MonthState::Missing; }
    MonthCounts countMonth(int m) const;
    // The month's remark text; empty when it has none. Unlike getRemark, never reserves a slot.
    std::string remarkOf(int pub, int m) const;
    // An old-form value as its bits stand, whatever form the month is held in.
    std::uint16_t getValue(int pub, int m, OldFormValue kind) const;
    // A new-form value; a month held in the old form is seen in new-form terms.
    std::uint16_t getNewFormValue(int pub, int m, NewFormValue kind) const;
    // Either of the two, by the kind's form.
    std::uint16_t value(int pub, int m, ReportValueKind kind) const;
    int getRemark(int pub, int m, std::string& out, bool lookupOnly);
    bool setRemark(int pub, int m, int slot, const std::string& text);
    void setLateFlag(int pub, int m);
    bool hasLateFlag(int pub, int m) const;
    // The months whose late flag is set, oldest first: the twelve months ending with lastMonth.
    std::vector<int> lateMonths(int pub, int lastMonth) const;
    static bool isNewFormMonth(std::uint16_t set, int m);
    static void setNewFormMonth(std::uint16_t& set, int m, bool on);

    static bool isUsableAddress(const std::string& address);
    static bool isUsableNumber(const std::string& number);

    // Records 0 (the header) to publisherCount; valid while storageReady.
    GroupRecord& record(int pub) { return records_[static_cast<std::size_t>(pub)]; }
    const GroupRecord& record(int pub) const { return records_[static_cast<std::size_t>(pub)]; }
    const RemarkSlot& remarkSlot(int k) const { return remarks_[static_cast<std::size_t>(k - 1)]; }
    std::string secretaryEmail() const;

    // Puts a whole group in place, as a load would (used to build files from other sources).
    void assign(const GroupRecord& header, const std::vector<GroupRecord>& publishers,
                const std::vector<RemarkSlot>& remarks);

    LoadStatus lastLoadStatus() const { return lastLoadStatus_; }
    // Benchmarks measure saving with and without the sync to disk.
    void setDurableWrites(bool durable) { durable_ = durable; }

    std::string groupFilePath;
    std::uint16_t publisherCount = 0;
    std::uint8_t groupNumber = 0;
    int reportMonth = 0;
    bool newFormActive = false;
    std::uint16_t remarkCount = 0;
    bool storageReady = false;
    LayoutLanguage language = LayoutLanguage::Other; // Czech puts the last name first

private:
    bool reserve(std::size_t records, std::size_t slots);
    int usablePhones(int pub, std::array<std::string, 3>& numbers) const;

    MessageSink& messages_;
    std::vector<GroupRecord> records_;
    std::vector<RemarkSlot> remarks_;
    LoadStatus lastLoadStatus_ = LoadStatus::Loaded;
    bool durable_ = true;
};

} // namespace zadw
