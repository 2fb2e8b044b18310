// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupStore.h"

#include "AtomicFile.h"
#include "CodePage.h"
#include "Scramble.h"
#include "Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zadw {
namespace {

// Reads up to n bytes; returns how many were read, or -1 on a read error.
long readUpTo(int fd, unsigned char* p, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, p + got, n - got);
        if (r < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (r == 0) {
            break;
        }
        got += static_cast<std::size_t>(r);
    }
    return static_cast<long>(got);
}

} // namespace

bool GroupStore::reserve(std::size_t records, std::size_t slots) {
    try {
        records_.assign(records, GroupRecord{});
        remarks_.assign(slots, RemarkSlot{});
    } catch (const std::bad_alloc&) {
        records_.clear();
        remarks_.clear();
        messages_.show("Low Memory");
        storageReady = false;
        lastLoadStatus_ = LoadStatus::NoMemory;
        return false;
    }
    storageReady = true;
    return true;
}

void GroupStore::releaseStorage() {
    records_ = {};
    remarks_ = {};
    storageReady = false;
    publisherCount = 0;
    remarkCount = 0;
}

ReadResult GroupStore::readFileBytes(const std::string& path, std::string& bytes,
                                     FileIdentity* identity) {
    bytes.clear();
    // Without blocking: a FIFO named like a group file must not hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return ReadResult::CannotOpen;
    }
    if (identity != nullptr) {
        *identity = identityOfDescriptor(fd);
    }
    // No group file is longer than a full header's worth of records and remark slots.
    constexpr std::size_t kLongest = kRecordSize * 256 + kRemarkSlotSize * 65536;
    const std::size_t size = static_cast<std::size_t>(std::max<off_t>(st.st_size, 0));
    try {
        bytes.resize(std::min(size, kLongest));
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return ReadResult::NoMemory;
    }
    const long got = readUpTo(fd, reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
    ::close(fd);
    if (got < 0) {
        bytes.clear();
        return ReadResult::CannotOpen;
    }
    bytes.resize(static_cast<std::size_t>(got));
    return ReadResult::Ok;
}

bool GroupStore::loadGroupFile(const std::string& path) {
    releaseStorage();
    lastLoadStatus_ = LoadStatus::Loaded;
    std::string bytes;
    switch (readFileBytes(path, bytes, nullptr)) {
    case ReadResult::Ok:
        break;
    case ReadResult::CannotOpen:
        lastLoadStatus_ = LoadStatus::CannotOpen;
        messages_.show(FormatText(LoadString(StringId::CannotOpenFile), path));
        return true;
    case ReadResult::NoMemory:
        lastLoadStatus_ = LoadStatus::NoMemory;
        messages_.show("Low Memory");
        return false;
    }
    return loadFromBytes(bytes, path);
}

bool GroupStore::loadFromBytes(const std::string& bytes, const std::string& path) {
    releaseStorage();
    lastLoadStatus_ = LoadStatus::Loaded;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());

    GroupRecord header{};
    const std::size_t headerRead = std::min(bytes.size(), kRecordSize);
    std::memcpy(header.bytes(), data, headerRead);
    if (header.publisherCount >= 128 || header.reportMonth > 11) {
        lastLoadStatus_ = LoadStatus::NotAGroupFile;
        messages_.show(FormatText(LoadString(StringId::NotAGroupFile), path));
        return true;
    }

    const int count = header.publisherCount;
    const int slots = header.remarkCountValue();
    if (!reserve(static_cast<std::size_t>(count) + 1,
                 std::max<std::size_t>(static_cast<std::size_t>(slots) + 100, kMaxRemarkSlots))) {
        return false;
    }
    publisherCount = static_cast<std::uint16_t>(count);
    groupNumber = header.groupNumber;
    remarkCount = static_cast<std::uint16_t>(slots);
    reportMonth = header.reportMonth;
    records_[0] = header;

    // What a short file lacks stays zero, and every record and slot is still counted.
    const std::size_t recordBytes = kRecordSize * static_cast<std::size_t>(count);
    const std::size_t wanted = recordBytes + kRemarkSlotSize * static_cast<std::size_t>(slots);
    const std::size_t have = bytes.size() - headerRead;
    const unsigned char* rest = data + headerRead;
    const bool complete = headerRead == kRecordSize && have >= wanted;
    for (int p = 1; p <= count; ++p) {
        const std::size_t at = kRecordSize * static_cast<std::size_t>(p - 1);
        if (at < have) {
            std::memcpy(records_[static_cast<std::size_t>(p)].bytes(), rest + at,
                        std::min(kRecordSize, have - at));
        }
    }
    for (int k = 0; k < slots; ++k) {
        const std::size_t at = recordBytes + kRemarkSlotSize * static_cast<std::size_t>(k);
        if (at < have) {
            std::memcpy(remarks_[static_cast<std::size_t>(k)].text, rest + at,
                        std::min(kRemarkSlotSize, have - at));
        }
    }

    if (count != 0) {
        for (int p = 1; p <= count; ++p) {
            scrambleFields(records_[static_cast<std::size_t>(p)], -1);
        }
        groupFilePath = path;
    }
    if (!complete) {
        lastLoadStatus_ = LoadStatus::Incomplete;
        messages_.show(FormatText(LoadString(StringId::GroupFileIncomplete), path));
    }
    return true;
}

bool GroupStore::serialize(std::string& data) {
    records_[0].setRemarkCountValue(remarkCount);
    // Scramble a copy, so the store stays exactly as it was whatever happens.
    try {
        data.assign(kRecordSize * (publisherCount + 1u) + kRemarkSlotSize * remarkCount, '\0');
    } catch (const std::bad_alloc&) {
        data.clear();
        messages_.show("Low Memory");
        return false;
    }
    char* out = data.data();
    for (int p = 0; p <= publisherCount; ++p) {
        GroupRecord rec = records_[static_cast<std::size_t>(p)];
        if (p != 0) {
            scrambleFields(rec, +1);
        }
        std::memcpy(out, rec.bytes(), kRecordSize);
        out += kRecordSize;
    }
    for (int k = 0; k < remarkCount; ++k) {
        std::memcpy(out, remarks_[static_cast<std::size_t>(k)].text, kRemarkSlotSize);
        out += kRemarkSlotSize;
    }
    return true;
}

bool GroupStore::saveGroupFile(const std::string& path, const std::string& permissionsFrom) {
    if (publisherCount < 2 || !storageReady) {
        messages_.show(LoadString(StringId::TooFewPublishers));
        return false;
    }
    std::string data;
    if (!serialize(data)) {
        return false;
    }
    WriteOutcome outcome = writeFileAtomically(path, data, durable_, permissionsFrom);
    if (outcome.result == WriteResult::NeedsInPlace) {
        outcome = writeFileInPlace(path, data, durable_); // keeps the group and ACL it has
    }
    if (outcome.ok()) {
        return true;
    }
    messages_.show(saveFailureText(absolutePath(path), outcome));
    return false;
}

void GroupStore::assign(const GroupRecord& header, const std::vector<GroupRecord>& publishers,
                        const std::vector<RemarkSlot>& remarks) {
    releaseStorage();
    if (!reserve(publishers.size() + 1,
                 std::max<std::size_t>(remarks.size() + 100, kMaxRemarkSlots))) {
        return;
    }
    records_[0] = header;
    std::copy(publishers.begin(), publishers.end(), records_.begin() + 1);
    std::copy(remarks.begin(), remarks.end(), remarks_.begin());
    publisherCount = static_cast<std::uint16_t>(publishers.size());
    remarkCount = static_cast<std::uint16_t>(remarks.size());
    groupNumber = header.groupNumber;
    reportMonth = header.reportMonth;
    records_[0].publisherCount = static_cast<std::uint8_t>(publisherCount);
    records_[0].setRemarkCountValue(remarkCount);
}

std::string GroupStore::secretaryEmail() const {
    return storageReady ? textField(records_[0], TextField::Email) : std::string();
}

std::string GroupStore::displayName(int pub, bool listForm) const {
    const GroupRecord& r = record(pub);
    const std::string first = textField(r, TextField::FirstName);
    const std::string last = textField(r, TextField::LastName);
    if (listForm || language == LayoutLanguage::Czech) {
        return last + ", " + first;
    }
    return first + " " + last;
}

bool GroupStore::isUsableNumber(const std::string& number) {
    return utf8Length(number) > 5;
}

bool GroupStore::isUsableAddress(const std::string& address) {
    const auto at = address.find('@');
    return at != std::string::npos && at > 0 && address.find('.', at + 1) != std::string::npos;
}

int GroupStore::usablePhones(int pub, std::array<std::string, 3>& numbers) const {
    const GroupRecord& r = record(pub);
    int n = 0;
    for (const TextField f : {TextField::Phone1, TextField::Phone2, TextField::Phone3}) {
        numbers[static_cast<std::size_t>(n)] = textField(r, f);
        if (isUsableNumber(numbers[static_cast<std::size_t>(n)])) {
            ++n;
        }
    }
    for (int i = n; i < 3; ++i) {
        numbers[static_cast<std::size_t>(i)].clear();
    }
    return n;
}

Contacts GroupStore::collectPhones(int pub) const {
    Contacts c;
    c.count = usablePhones(pub, c.numbers);
    const std::string email = TrimBlanks(textField(record(pub), TextField::Email));
    if (isMissing(pub, reportMonth) && isUsableAddress(email)) {
        c.reminderAddress = email;
    }
    return c;
}

std::string GroupStore::phoneForPrint(int pub, bool second) const {
    std::array<std::string, 3> numbers;
    const int n = usablePhones(pub, numbers);
    if (!second) {
        return n >= 1 ? numbers[0] : std::string();
    }
    return n >= 2 ? numbers[1] : std::string();
}

MonthState GroupStore::monthState(int pub, int m) const {
    const GroupRecord& r = record(pub);
    if (r.hours[m] != 0 || (r.quarterHours[m] & 0x03) != 0) {
        return MonthState::Reported;
    }
    return r.remarkSlot[m] == 0 ? MonthState::Missing : MonthState::RemarkOnly;
}

MonthCounts GroupStore::countMonth(int m) const {
    MonthCounts counts;
    for (int p = 1; p <= publisherCount; ++p) {
        switch (monthState(p, m)) {
        case MonthState::Reported:
            ++counts.reported;
            break;
        case MonthState::Missing:
            ++counts.missing;
            break;
        case MonthState::RemarkOnly:
            ++counts.remarkOnly;
            break;
        }
    }
    return counts;
}

std::string GroupStore::remarkOf(int pub, int m) const {
    const int k = record(pub).remarkSlot[m];
    return k >= 1 && k <= remarkCount ? remarkText(remarks_[static_cast<std::size_t>(k - 1)])
                                      : std::string();
}

std::uint16_t GroupStore::getValue(int pub, int m, OldFormValue kind) const {
    const auto k = static_cast<std::size_t>(kind);
    if (k >= std::size(kOldFormTable)) {
        return 0;
    }
    return ReadMonthValue(record(pub), m, Describe(kind));
}

std::uint16_t GroupStore::getNewFormValue(int pub, int m, NewFormValue kind) const {
    const auto k = static_cast<std::size_t>(kind);
    if (k >= std::size(kNewFormTable)) {
        return 0;
    }
    return ReadMonthValue(record(pub), m, Describe(kind));
}

std::uint16_t GroupStore::value(int pub, int m, ReportValueKind kind) const {
    return std::visit(
        [&](auto k) -> std::uint16_t {
            if constexpr (std::is_same_v<decltype(k), NewFormValue>) {
                return getNewFormValue(pub, m, k);
            } else {
                return getValue(pub, m, k);
            }
        },
        kind);
}

int GroupStore::getRemark(int pub, int m, std::string& out, bool lookupOnly) {
    out.clear();
    const int k = record(pub).remarkSlot[m];
    if (k >= 1 && k <= remarkCount) {
        out = remarkText(remarks_[static_cast<std::size_t>(k - 1)]);
        return k;
    }
    if (lookupOnly) {
        return 0;
    }
    if (remarkCount < kMaxRemarkSlots) {
        ++remarkCount;
        remarks_[remarkCount - 1u] = RemarkSlot{};
        return remarkCount;
    }
    messages_.show(LoadString(StringId::NoRoomForRemarks));
    return k;
}

bool GroupStore::setRemark(int pub, int m, int slot, const std::string& text) {
    GroupRecord& r = record(pub);
    if (text.empty() || text[0] == ' ') {
        r.remarkSlot[m] = 0;
        return false;
    }
    // Any slot already counted may be written; the 254 limit applies to reserving new ones.
    if (slot < 1 || slot > remarkCount) {
        return false;
    }
    std::string bytes;
    if (!utf8ToCp1252(text, bytes) || bytes.find('\0') != std::string::npos) {
        return false;
    }
    bytes.resize(std::min<std::size_t>(bytes.size(), kMaxRemarkChars));
    RemarkSlot& s = remarks_[static_cast<std::size_t>(slot - 1)];
    std::memset(s.text, 0, kMaxRemarkChars + 1);
    std::memcpy(s.text, bytes.data(), bytes.size());
    r.remarkSlot[m] = static_cast<std::uint8_t>(slot);
    return true;
}

void GroupStore::setLateFlag(int pub, int m) {
    record(pub).lateFlag(m) = 1;
}

bool GroupStore::hasLateFlag(int pub, int m) const {
    return record(pub).lateFlag(m) == 1;
}

std::vector<int> GroupStore::lateMonths(int pub, int lastMonth) const {
    std::vector<int> months;
    for (int k = 1; k <= 12; ++k) {
        const int m = (lastMonth + k) % 12;
        if (hasLateFlag(pub, m)) {
            months.push_back(m);
        }
    }
    return months;
}

bool GroupStore::isNewFormMonth(std::uint16_t set, int m) {
    return (set & (1u << m)) != 0;
}

void GroupStore::setNewFormMonth(std::uint16_t& set, int m, bool on) {
    if (on) {
        set = static_cast<std::uint16_t>(set | (1u << m));
    } else {
        set = static_cast<std::uint16_t>(set & ~(1u << m));
    }
}

} // namespace zadw
