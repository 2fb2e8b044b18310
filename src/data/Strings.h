// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's string tables, one per language, built into the program from
// resources/strings*.txt. Swedish is the default; the program picks another table at start-up.

#include <string>
#include <vector>

namespace zadw {

// The language of the table everything falls back to, and of the update mail to the secretary.
inline constexpr const char* kSwedish = "sv";

// The text of entry id in the current language, or "" when there is none.
std::string LoadString(int id);
// Entry id with every "%1" replaced by the text of entry argId (when argId is not 0).
std::string LoadFormatted(int id, int argId);
// The text of entry id in the given language's table, whatever the current language is.
std::string LoadStringIn(const std::string& language, int id);
// The text without the blanks at both ends.
std::string TrimBlanks(const std::string& text);
// Replaces every "%1" in text by arg.
std::string FormatText(const std::string& text, const std::string& arg);

// Replaces "%1", "%2", … by the arguments in turn, each in one pass (an argument's own "%2" stays).
std::string FormatArgs(const std::string& text, const std::vector<std::string>& args);

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

// One table file: its language key, its numbered texts and its dialog-text translations.
struct StringFile {
    std::string language;
    std::vector<std::pair<int, std::string>> texts;                 // in file order
    std::vector<std::pair<std::string, std::string>> templateTexts; // Swedish -> this language
};
// Parses a table file; false at the first bad line.
bool parseStringFile(const std::string& source, StringFile& out, int* badLine = nullptr);

// Parses a table in the resource file's format into id/text pairs; false at the first bad line.
bool parseStringTable(const std::string& source, void (*add)(int, std::string&&, void*), void* ctx,
                      int* badLine = nullptr);

} // namespace zadw
