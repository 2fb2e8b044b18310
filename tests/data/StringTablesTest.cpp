// SPDX-License-Identifier: GPL-3.0-or-later
// Every language's table against the Swedish one, the locale's choice of table, and the texts that
// must not change with the language.
#include "DialogTemplates.h"
#include "Strings.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace zadw {
namespace {

// The placeholders a text fills in, in order: %1, %2, and printf conversions (%s, %d, %5.2f...).
std::vector<std::string> placeholders(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size()) {
            continue;
        }
        std::size_t j = i + 1;
        if (text[j] == '%') {
            i = j;
            continue;
        }
        while (j < text.size() &&
               std::string_view("-+#0123456789.lh").find(text[j]) != std::string_view::npos) {
            ++j;
        }
        if (j < text.size() &&
            std::string_view("sdiucxXfgeEp").find(text[j]) != std::string_view::npos) {
            out.push_back(text.substr(i, j - i + 1)); // printf: "%s", "%5.2f"
            i = j;
        } else if (text[i + 1] >= '1' && text[i + 1] <= '9') {
            out.push_back(text.substr(i, 2)); // "%1"
            i += 1;
        }
    }
    return out;
}

struct LoadedFile {
    std::string path;
    StringFile file;
};

std::vector<LoadedFile> tableFiles() {
    std::vector<LoadedFile> out;
    for (const auto& entry : std::filesystem::directory_iterator(ZADW_RESOURCES_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("strings", 0) != 0 || entry.path().extension() != ".txt") {
            continue;
        }
        LoadedFile f{entry.path().string(), {}};
        int bad = 0;
        EXPECT_TRUE(parseStringFile(test::readFile(f.path), f.file, &bad))
            << f.path << ": bad line " << bad;
        out.push_back(std::move(f));
    }
    return out;
}

TEST(StringTables, EveryLanguageHasEverySwedishTextWithItsPlaceholders) {
    const auto files = tableFiles();
    const auto sv = std::find_if(files.begin(), files.end(),
                                 [](const LoadedFile& f) { return f.file.language == kSwedish; });
    ASSERT_NE(sv, files.end());
    ASSERT_GE(files.size(), 2u) << "the English table is missing";
    std::map<int, StringEntry> swedish;
    for (const StringEntry& e : sv->file.texts) {
        swedish.emplace(e.id, e);
    }
    std::set<std::string> languages;
    for (const LoadedFile& f : files) {
        EXPECT_TRUE(languages.insert(f.file.language).second)
            << f.path << ": a second table for " << f.file.language;
        std::map<int, std::string> texts;
        std::set<std::string> names;
        for (const auto& [id, name, text] : f.file.texts) {
            EXPECT_TRUE(texts.emplace(id, text).second) << f.path << ": id " << id << " twice";
            EXPECT_TRUE(names.insert(name).second) << f.path << ": name " << name << " twice";
            const auto it = swedish.find(id);
            if (it == swedish.end()) {
                ADD_FAILURE() << f.path << ": id " << id << " is not in the Swedish table";
            } else {
                EXPECT_EQ(name, it->second.name)
                    << f.path << ": id " << id << " has another name than in the Swedish table";
            }
        }
        for (const auto& [id, entry] : swedish) {
            const auto it = texts.find(id);
            if (it == texts.end()) {
                ADD_FAILURE() << f.path << ": no text for id " << id << " " << entry.name
                              << " (Swedish: \"" << entry.text << "\")";
                continue;
            }
            EXPECT_EQ(placeholders(it->second), placeholders(entry.text))
                << f.path << ": id " << id << " fills in other placeholders than the Swedish";
        }
    }
}

// The ids the code is built with are the Swedish table's names and numbers, in its order.
TEST(StringTables, GeneratedIdsAreTheSwedishTable) {
    StringFile sv;
    ASSERT_TRUE(parseStringFile(test::readFile(ZADW_STRINGS_FILE), sv));
    ASSERT_EQ(sv.texts.size(), std::size(kStringIdNames));
    for (std::size_t i = 0; i < sv.texts.size(); ++i) {
        EXPECT_EQ(sv.texts[i].name, kStringIdNames[i].name) << "entry " << i;
        EXPECT_EQ(sv.texts[i].id, static_cast<int>(kStringIdNames[i].id)) << sv.texts[i].name;
    }
}

// The tag is read exactly as the layout rules have always compared it: case counts.
TEST(StringTables, LayoutLanguageTags) {
    const std::pair<const char*, LayoutLanguage> cases[] = {
        {"swedish", LayoutLanguage::Swedish}, {"english", LayoutLanguage::English},
        {"cz", LayoutLanguage::Czech},        {"french", LayoutLanguage::French},
        {"greek", LayoutLanguage::Greek},     {"CZ", LayoutLanguage::Other},
        {"Swedish", LayoutLanguage::Other},   {"sk", LayoutLanguage::Other},
        {"greek ", LayoutLanguage::Other},    {"", LayoutLanguage::Other},
    };
    for (const auto& [tag, language] : cases) {
        EXPECT_EQ(ParseLayoutLanguage(tag), language) << '"' << tag << '"';
    }
    EXPECT_EQ(CurrentLayoutLanguage(), LayoutLanguage::Swedish);
}

// Every dialog text the templates hold reads in each language; a text that stays the same is
// listed as such, so a new button cannot slip through in Swedish.
TEST(StringTables, EveryLanguageTranslatesEveryDialogText) {
    std::set<std::string> dialogTexts;
    for (const DialogTemplate* t : dialogTemplates()) {
        if (*t->caption != '\0') {
            dialogTexts.insert(t->caption);
        }
        for (std::size_t i = 0; i < t->count; ++i) {
            if (*t->controls[i].text != '\0') {
                dialogTexts.insert(t->controls[i].text);
            }
        }
    }
    ASSERT_FALSE(dialogTexts.empty());
    for (const LoadedFile& f : tableFiles()) {
        if (f.file.language == kSwedish) {
            continue;
        }
        std::map<std::string, std::string> pairs;
        for (const auto& [from, to] : f.file.templateTexts) {
            EXPECT_TRUE(pairs.emplace(from, to).second) << f.path << ": \"" << from << "\" twice";
            EXPECT_TRUE(dialogTexts.count(from) != 0)
                << f.path << ": \"" << from << "\" is no dialog's text";
        }
        for (const std::string& text : dialogTexts) {
            EXPECT_TRUE(pairs.count(text) != 0)
                << f.path << ": no translation of \"" << text << "\"";
        }
    }
}

TEST(StringTables, LocaleChoosesTheTable) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* language;
    };
    const Case cases[] = {
        {nullptr, nullptr, "en_GB.UTF-8", "en"},
        {"sv_SE.UTF-8", nullptr, "en_US", "sv"},       // LC_ALL wins over LANG
        {nullptr, "en_US.UTF-8", "sv_SE.UTF-8", "en"}, // LC_MESSAGES wins over LANG
        {"", nullptr, "en_US", "en"},                  // an empty variable counts as not set
        {"C", nullptr, "en_US", "sv"},
        {nullptr, nullptr, "C.UTF-8", "sv"},
        {nullptr, nullptr, "POSIX", "sv"},
        {nullptr, nullptr, "en", "en"},
        {nullptr, nullptr, "en_US@euro", "en"},
        {nullptr, nullptr, "de_DE.UTF-8", "sv"}, // no German table
        {nullptr, nullptr, nullptr, "sv"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageFromLocale(c.lcAll, c.lcMessages, c.lang), c.language)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

class StringLanguage : public ::testing::Test {
protected:
    void TearDown() override { SetLanguage(kSwedish); }
};

TEST_F(StringLanguage, EnglishTextsAndDialogs) {
    ASSERT_TRUE(SetLanguage("en"));
    EXPECT_EQ(CurrentLanguage(), "en");
    EXPECT_EQ(FormatText(LoadString(StringId::ReminderMail), monthName(4)),
              "Please send in your report for May. \nThank you.");
    EXPECT_EQ(TranslateTemplateText("Avsluta programmet"), "Exit program");
    EXPECT_EQ(LoadString(StringId::LayoutLanguageTag), "english");
    EXPECT_EQ(CurrentLayoutLanguage(), LayoutLanguage::English);
    // The English texts of the design stay as they are.
    for (StringId id : {StringId::SpecialPioneer, StringId::NoMailSystem,
                        StringId::InvalidMailSystem, StringId::SendMailFailed}) {
        EXPECT_EQ(LoadString(id), LoadStringIn(kSwedish, id)) << static_cast<int>(id);
    }
    // Saving refuses a group of one: the English text says the rule's real number.
    EXPECT_EQ(LoadString(StringId::TooFewPublishers), "Group has fewer than 2 publishers");
    ASSERT_TRUE(SetLanguage(kSwedish));
    EXPECT_EQ(CurrentLayoutLanguage(), LayoutLanguage::Swedish);
    EXPECT_EQ(TranslateTemplateText("Avsluta programmet"), "Avsluta programmet");
    EXPECT_FALSE(SetLanguage("xx"));
    EXPECT_EQ(CurrentLanguage(), kSwedish);
}

// The texts say what the program does on Linux: no modem, no MAPI client, no read-only attribute.
TEST(StringTables, NoTextSpeaksOfAnotherSystem) {
    for (const LoadedFile& f : tableFiles()) {
        for (const StringEntry& e : f.file.texts) {
            for (const char* word : {"modem", "MAPI", "read-only attribute", "enbart läsbar"}) {
                EXPECT_EQ(e.text.find(word), std::string::npos)
                    << f.path << ": " << e.name << " speaks of " << word;
            }
        }
    }
}

TEST(StringFiles, LanguageLineIsRequiredAndComesFirst) {
    StringFile f;
    int bad = 0;
    EXPECT_FALSE(parseStringFile("1 A \"a\"\n", f, &bad));
    EXPECT_FALSE(parseStringFile("language sv\n1 A \"a\"\nlanguage en\n", f, &bad));
    EXPECT_EQ(bad, 3);
    EXPECT_FALSE(parseStringFile("language Svenska\n", f, &bad));
    EXPECT_FALSE(parseStringFile("language en\n\"Avbryt\" \"Cancel\" x\n", f, &bad));
    EXPECT_EQ(bad, 2);
    ASSERT_TRUE(
        parseStringFile("# c\nlanguage en\n1 A \"a\"\n\"Avbryt\" \"Can\\\"cel\"\n", f, &bad));
    EXPECT_EQ(f.language, "en");
    ASSERT_EQ(f.texts.size(), 1u);
    ASSERT_EQ(f.templateTexts.size(), 1u);
    EXPECT_EQ(f.templateTexts[0].second, "Can\"cel");
}

} // namespace
} // namespace zadw
