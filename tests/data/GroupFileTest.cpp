// SPDX-License-Identifier: GPL-3.0-or-later
// The group file as the secretary's program sees it: scrambling, reading, writing.
#include "GroupStore.h"
#include "Scramble.h"
#include "Strings.h"

#include "TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <signal.h>
#include <sys/resource.h>

namespace zadw {
namespace {

using test::readFile;
using test::RecordingSink;
using test::ScratchDir;
using test::writeFile;

GroupRecord publisher(const std::string& first, const std::string& last) {
    GroupRecord r{};
    EXPECT_TRUE(setTextField(r, TextField::FirstName, first, nullptr));
    EXPECT_TRUE(setTextField(r, TextField::LastName, last, nullptr));
    return r;
}

GroupRecord header(int group, int month, const std::string& email) {
    GroupRecord h{};
    h.groupNumber = static_cast<std::uint8_t>(group);
    h.reportMonth = static_cast<std::uint8_t>(month);
    EXPECT_TRUE(setTextField(h, TextField::Email, email, nullptr));
    return h;
}

// Raw bytes of a file with the given header counts and records (records taken as stored).
std::string fileBytes(GroupRecord head, const std::vector<GroupRecord>& stored,
                      const std::vector<std::string>& remarks) {
    head.publisherCount = static_cast<std::uint8_t>(stored.size());
    head.setRemarkCountValue(static_cast<std::uint16_t>(remarks.size()));
    std::string out(reinterpret_cast<const char*>(head.bytes()), kRecordSize);
    for (const GroupRecord& r : stored) {
        out.append(reinterpret_cast<const char*>(r.bytes()), kRecordSize);
    }
    for (const std::string& text : remarks) {
        std::string slot(kRemarkSlotSize, '\0');
        std::memcpy(slot.data(), text.data(), std::min(text.size(), slot.size()));
        out += slot;
    }
    return out;
}

GroupRecord scrambled(GroupRecord r) {
    scrambleFields(r, +1);
    return r;
}

TEST(Scramble, AnnaAndTheGrowingStep) {
    GroupRecord r = publisher("Anna", "");
    scrambleFields(r, +1);
    const unsigned char expected[] = {0x75, 0xA3, 0xA4, 0x98, 0x00};
    EXPECT_EQ(std::memcmp(r.firstName, expected, sizeof expected), 0);
    scrambleFields(r, -1);
    EXPECT_EQ(textField(r, TextField::FirstName), "Anna");
}

TEST(Scramble, EmptyRecordIsItsOwnImage) {
    GroupRecord r{};
    scrambleFields(r, +1);
    GroupRecord zero{};
    EXPECT_EQ(std::memcmp(&r, &zero, sizeof r), 0);
}

TEST(Scramble, TheCcExceptions) {
    GroupRecord r{};
    std::memset(r.email, 'a', 40);
    r.email[10] = static_cast<char>(0xCC);
    r.email[30] = static_cast<char>(0xCC);
    r.firstName[0] = 'x';
    r.firstName[1] = static_cast<char>(0xCC);
    r.lastName[15] = 0; // shorter name, exception at any position
    std::memset(r.lastName, 'b', 15);
    r.lastName[12] = static_cast<char>(0xCC);
    scrambleFields(r, +1);
    EXPECT_EQ(static_cast<unsigned char>(r.email[10]), 0xCC);
    EXPECT_EQ(static_cast<unsigned char>(r.email[30]), static_cast<unsigned char>(0xCC + 52 + 30));
    EXPECT_EQ(static_cast<unsigned char>(r.firstName[1]), 0xCC);
    EXPECT_EQ(static_cast<unsigned char>(r.lastName[12]), 0xCC);
    EXPECT_EQ(static_cast<unsigned char>(r.lastName[11]),
              static_cast<unsigned char>('b' + 52 + 11));
}

TEST(Scramble, ForcedTerminatorsAndLateFlagRuns) {
    GroupRecord r{};
    r.bytes()[22] = 'q';
    r.bytes()[160] = 7;
    r.lateFlag(0) = 1;
    r.lateFlag(1) = 1;
    r.lateFlag(3) = 1; // after a 0 flag: outside the run
    r.lateFlag(6) = 1;
    scrambleFields(r, +1);
    EXPECT_EQ(r.bytes()[22], 0);
    EXPECT_EQ(r.bytes()[160], 0);
    EXPECT_EQ(r.bytes()[152], 1 + 52);
    EXPECT_EQ(r.bytes()[153], 1 + 53);
    EXPECT_EQ(r.bytes()[155], 1);
    EXPECT_EQ(r.bytes()[161], 1 + 52);
    scrambleFields(r, -1);
    EXPECT_EQ(r.lateFlag(0), 1);
    EXPECT_EQ(r.lateFlag(6), 1);
    EXPECT_EQ(&r.lateFlag(6) - r.bytes(), 161);
    EXPECT_EQ(&r.lateFlag(11) - r.bytes(), 166);
    EXPECT_EQ(&r.lateFlag(5) - r.bytes(), 157);
}

TEST(Scramble, FullPhoneFieldRunsIntoTheNextAndComesBack) {
    GroupRecord r{};
    ASSERT_TRUE(
        setTextField(r, TextField::Phone2, "070-123 45 6789", nullptr)); // 15, no terminator
    ASSERT_TRUE(setTextField(r, TextField::Phone3, "08-555 1234", nullptr));
    const GroupRecord plain = r;
    scrambleFields(r, +1);
    // Phone3's first byte is moved by phone2's run (step 52 + 15) and by its own (52).
    EXPECT_EQ(r.bytes()[137], static_cast<unsigned char>('0' + 67 + 52));
    scrambleFields(r, -1);
    EXPECT_EQ(std::memcmp(&r, &plain, sizeof r), 0);
    EXPECT_EQ(textField(r, TextField::Phone2), "070-123 45 6789");
}

class GroupFile : public ::testing::Test {
protected:
    ScratchDir dir;
    RecordingSink sink;
    GroupStore store{sink};

    std::vector<GroupRecord> somePublishers() {
        GroupRecord anna = publisher("Anna", "Berg");
        setTextField(anna, TextField::Email, "anna@example.se", nullptr);
        setTextField(anna, TextField::Phone1, "08-123 45 67", nullptr);
        anna.hours[2] = 12;
        anna.quarterHours[2] = 2;
        anna.remarkSlot[2] = 1;
        anna.lateFlag(7) = 1;
        anna.reserved170[3] = 0x5A; // reserved bytes travel unchanged
        GroupRecord olle = publisher("Olle", "Åström");
        setTextField(olle, TextField::Phone3, "070-999 88 77", nullptr);
        olle.setNewFormMonthsValue(0x0FFF);
        olle.groupNumber = 0xFD; // -3
        return {anna, olle};
    }
};

TEST_F(GroupFile, ReadsAndWritesBackByteForByte) {
    std::vector<GroupRecord> stored;
    for (const GroupRecord& p : somePublishers()) {
        stored.push_back(scrambled(p));
    }
    GroupRecord head = header(4, 2, "sekr@example.se");
    head.reserved186[0] = 9;
    const std::string bytes = fileBytes(head, stored, {"sjuk", "5 +Timmar"});
    const std::string path = dir.file("grupp.z08");
    writeFile(path, bytes);

    ASSERT_TRUE(store.loadGroupFile(path));
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(store.publisherCount, 2);
    EXPECT_EQ(store.remarkCount, 2);
    EXPECT_EQ(store.groupNumber, 4);
    EXPECT_EQ(store.reportMonth, 2);
    EXPECT_EQ(store.groupFilePath, path);
    EXPECT_EQ(store.displayName(2, false), "Olle Åström");
    EXPECT_EQ(store.secretaryEmail(), "sekr@example.se");

    const std::string copy = dir.file("grupp.z18");
    ASSERT_TRUE(store.saveGroupFile(copy));
    EXPECT_EQ(readFile(copy), bytes);
    // Saving leaves the store in plain text.
    EXPECT_EQ(store.displayName(1, true), "Berg, Anna");
    ASSERT_TRUE(store.saveGroupFile(path));
    EXPECT_EQ(readFile(path), bytes);
}

TEST_F(GroupFile, ShortFileIsLoadedAndReported) {
    std::vector<GroupRecord> stored;
    for (const GroupRecord& p : somePublishers()) {
        stored.push_back(scrambled(p));
    }
    stored.push_back(scrambled(publisher("Eva", "Ek")));
    const std::string full = fileBytes(header(4, 2, ""), stored, {"x"});
    // Cut inside record 2, 100 bytes into it.
    const std::string path = dir.file("kort.z08");
    writeFile(path, full.substr(0, kRecordSize * 2 + 100));
    ASSERT_TRUE(store.loadGroupFile(path));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], FormatText(LoadString(StringId::GroupFileIncomplete), path));
    EXPECT_EQ(store.publisherCount, 3); // still counts the missing records
    EXPECT_EQ(store.remarkCount, 1);
    EXPECT_EQ(textField(store.record(1), TextField::FirstName), "Anna");
    EXPECT_EQ(textField(store.record(2), TextField::FirstName), "Olle");
    EXPECT_EQ(store.record(2).hours[0], 0); // past the cut
    GroupRecord zero{};
    EXPECT_EQ(std::memcmp(&store.record(3), &zero, sizeof zero), 0);
    std::string remark;
    EXPECT_EQ(store.getRemark(1, 2, remark, true), 1);
    EXPECT_EQ(remark, "");
}

TEST_F(GroupFile, FilesThatAreNotGroupsLeaveTheGroupEmpty) {
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<StringId> message;
    };
    std::string negative = fileBytes(header(4, 2, ""), {}, {});
    negative[180] = static_cast<char>(200);
    std::string badMonth = fileBytes(header(4, 2, ""), {}, {});
    badMonth[214] = 12;
    const Case cases[] = {
        {"negative count", negative, StringId::NotAGroupFile},
        {"month 12", badMonth, StringId::NotAGroupFile},
        {"empty file", std::string(), StringId::GroupFileIncomplete},
        {"no publishers", fileBytes(header(4, 2, ""), {}, {}), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink s;
        GroupStore g(s);
        g.groupFilePath = "/earlier/grupp.z08";
        const std::string path = dir.file(std::string(c.name) + ".z08");
        writeFile(path, c.bytes);
        EXPECT_TRUE(g.loadGroupFile(path));
        EXPECT_EQ(g.publisherCount, 0);
        EXPECT_EQ(g.groupFilePath, "/earlier/grupp.z08");
        if (!c.message) {
            EXPECT_TRUE(s.shown.empty());
        } else {
            ASSERT_EQ(s.shown.size(), 1u);
            EXPECT_EQ(s.shown[0], FormatText(LoadString(*c.message), path));
        }
    }
}

TEST_F(GroupFile, MissingFileIsReportedAndEmptiesTheGroup) {
    const std::string good = dir.file("good.z08");
    writeFile(good,
              fileBytes(header(4, 2, ""),
                        {scrambled(publisher("A", "B")), scrambled(publisher("C", "D"))}, {}));
    ASSERT_TRUE(store.loadGroupFile(good));
    const std::string missing = dir.file("saknas.z08");
    EXPECT_TRUE(store.loadGroupFile(missing));
    EXPECT_EQ(store.publisherCount, 0);
    EXPECT_EQ(store.groupFilePath, good);
    EXPECT_EQ(store.reportMonth, 2);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], FormatText(LoadString(StringId::CannotOpenFile), missing));
    EXPECT_EQ(store.lastLoadStatus(), LoadStatus::CannotOpen);
}

TEST_F(GroupFile, SavingNeedsTwoPublishers) {
    store.assign(header(1, 0, ""), {publisher("Ensam", "Person")}, {});
    EXPECT_FALSE(store.saveGroupFile(dir.file("ett.z08")));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], LoadString(StringId::TooFewPublishers));
    EXPECT_FALSE(std::filesystem::exists(dir.file("ett.z08")));

    store.assign(header(1, 0, ""), somePublishers(), {});
    EXPECT_TRUE(store.saveGroupFile(dir.file("tva.z08")));
    EXPECT_EQ(readFile(dir.file("tva.z08")).size(), 3 * kRecordSize); // no remark slots
}

TEST_F(GroupFile, FolderThatCannotTakeTheFileNamesItsAbsolutePath) {
    store.assign(header(1, 0, ""), somePublishers(), {});
    writeFile(dir.file("notafolder"), "x");
    const std::string path = dir.file("notafolder") + "/grupp.z08";
    EXPECT_FALSE(store.saveGroupFile(path));
    ASSERT_EQ(sink.shown.size(), 1u);
    // There is no folder of that name: saying so beats asking for write permission.
    EXPECT_EQ(sink.shown[0], FormatText(LoadString(StringId::FolderGone), path));

    // A relative path is named with the working directory in front.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_FALSE(store.saveGroupFile("notafolder/g.z08"));
    std::filesystem::current_path(cwd);
    EXPECT_EQ(sink.shown.back(),
              FormatText(LoadString(StringId::FolderGone), dir.file("notafolder/g.z08")));
}

TEST_F(GroupFile, WriteThatFailsHalfWayKeepsTheOldFile) {
    store.assign(header(1, 0, ""), somePublishers(), {});
    const std::string path = dir.file("grupp.z08");
    writeFile(path, "the old file");
    // A file size limit makes the write fail part way, as a full disk would.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 500;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = store.saveGroupFile(path);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(path), "the old file");
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], FormatText(LoadString(StringId::FileNotWrittenCompletely), path));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "the temporary file was left behind";
}

TEST_F(GroupFile, SavingKeepsThePermissionsOfTheFileItReplaces) {
    store.assign(header(1, 0, ""), somePublishers(), {});
    const std::string path = dir.file("grupp.z08");
    writeFile(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    ASSERT_TRUE(store.saveGroupFile(path));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
}

TEST_F(GroupFile, HeaderKeepsSecretaryAddressAndMonthAndCountsRemarks) {
    store.assign(header(7, 11, "sekr@example.se"), somePublishers(), {});
    std::string out;
    EXPECT_EQ(store.getRemark(1, 0, out, false), 1); // reserves slot 1
    ASSERT_TRUE(store.setRemark(1, 0, 1, "ny"));
    const std::string path = dir.file("grupp.z18");
    ASSERT_TRUE(store.saveGroupFile(path));
    const std::string bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 3 * kRecordSize + kRemarkSlotSize);
    EXPECT_EQ(bytes.substr(44, 16), std::string("sekr@example.se\0", 16)); // plain text
    EXPECT_EQ(static_cast<unsigned char>(bytes[214]), 11);
    EXPECT_EQ(static_cast<unsigned char>(bytes[184]), 1);
    EXPECT_EQ(bytes.substr(3 * kRecordSize, 3), std::string("ny\0", 3));
}

} // namespace
} // namespace zadw
