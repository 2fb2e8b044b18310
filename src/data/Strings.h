// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's string tables, one per language, built into the program from
// resources/strings*.txt. Swedish is the default; the program picks another table at start-up.

#include "LayoutLanguage.h"
#include "StringIds.h"

#include <string>
#include <vector>

namespace zadw {

// The language of the table everything falls back to, and of the update mail to the secretary.
inline constexpr const char* kSwedish = "sv";

// The text of entry id in the current language, or "" when there is none.
std::string LoadString(StringId id);
// The text of entry id in the given language's table, whatever the current language is.
std::string LoadStringIn(const std::string& language, StringId id);
// The name of month m (0 = January) in the current language; "" outside 0..11.
std::string monthName(int m);
// The same in the given language's table.
std::string monthNameIn(const std::string& language, int m);
// The text without the blanks at both ends.
std::string TrimBlanks(const std::string& text);

// Replaces "%1", "%2", … by the arguments in turn, each in one pass (an argument's own "%2" stays);
// a placeholder without an argument stays as it is. The one way texts are filled in.
std::string FormatArgs(const std::string& text, const std::vector<std::string>& args);
// FormatArgs with one argument: every "%1" in text replaced by arg.
std::string FormatText(const std::string& text, const std::string& arg);

// A dialog template's text (written in Swedish) in the current language; the text itself when the
// table has no translation for it.
std::string TranslateTemplateText(const std::string& swedish);

// The languages that have a table, by their key ("sv", "en", ...).
std::vector<std::string> AvailableLanguages();
// The current language; Swedish until SetLanguage picks another.
std::string CurrentLanguage();
// Switches every later lookup to that language's table; false (and no change) when there is none.
bool SetLanguage(const std::string& language);
// The table a locale asks for: the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty, by its language part ("en_GB.UTF-8" gives "en"); Swedish when that language has no table,
// including C and POSIX.
std::string LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);

// One numbered entry of a table: `1001 MissingReportsFor "Utebliven rapport för %1"`.
struct StringEntry {
    int id = 0;
    std::string name; // UpperCamelCase, the same in every language
    std::string text;
};

// One table file: its language key, its entries and its dialog-text translations.
struct StringFile {
    std::string language;
    std::vector<StringEntry> texts;                                 // in file order
    std::vector<std::pair<std::string, std::string>> templateTexts; // Swedish -> this language
};
// Parses a table file; false at the first bad line.
bool parseStringFile(const std::string& source, StringFile& out, int* badLine = nullptr);

// Parses a table in the resource file's format, entry by entry; false at the first bad line.
bool parseStringTable(const std::string& source, void (*add)(StringEntry&&, void*), void* ctx,
                      int* badLine = nullptr);

// The layout language the current table names in its entry LayoutLanguageTag.
LayoutLanguage CurrentLayoutLanguage();

} // namespace zadw
