#pragma once
// The program's Swedish string table, built into the program from resources/strings.txt.

#include <string>
#include <vector>

namespace zadw {

// The text of entry id, or "" when there is none.
std::string LoadString(int id);
// Entry id with every "%1" replaced by the text of entry argId (when argId is not 0).
std::string LoadFormatted(int id, int argId);
// The text without the blanks at both ends.
std::string TrimBlanks(const std::string& text);
// Replaces every "%1" in text by arg.
std::string FormatText(const std::string& text, const std::string& arg);

// Replaces "%1", "%2", … by the arguments in turn, each in one pass (an argument's own "%2" stays).
std::string FormatArgs(const std::string& text, const std::vector<std::string>& args);

// Parses a table in the resource file's format into id/text pairs; false at the first bad line.
bool parseStringTable(const std::string& source, void (*add)(int, std::string&&, void*), void* ctx,
                      int* badLine = nullptr);

} // namespace zadw
