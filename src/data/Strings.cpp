// SPDX-License-Identifier: GPL-3.0-or-later
#include "Strings.h"

#include "EmbeddedFile.h"
#include <vector>

#include <cstdlib>
#include <map>

extern const zadw::EmbeddedFile zadw_string_tables[];
extern const std::size_t zadw_string_tables_count;

namespace zadw {
namespace {

// Reads a double-quoted text starting at line[i]; i ends just past the closing quote.
bool parseQuoted(const std::string& line, std::size_t& i, std::string& text) {
    if (i >= line.size() || line[i] != '"') {
        return false;
    }
    text.clear();
    for (++i; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            ++i;
            return true;
        }
        if (c == '\\') {
            if (++i >= line.size()) {
                return false;
            }
            switch (line[i]) {
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case '"':
                text += '"';
                break;
            case '\\':
                text += '\\';
                break;
            default:
                return false;
            }
        } else {
            text += c;
        }
    }
    return false; // no closing quote
}

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// `1001 MissingReportsFor "text"`: the name starts with a capital letter.
bool parseNumbered(const std::string& line, StringEntry& entry) {
    std::size_t i = 0;
    if (i >= line.size() || line[i] < '0' || line[i] > '9') {
        return false;
    }
    long value = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        value = value * 10 + (line[i] - '0');
        if (value > 1000000) {
            return false;
        }
        ++i;
    }
    if (i >= line.size() || line[i] != ' ') {
        return false;
    }
    ++i;
    const std::size_t nameStart = i;
    if (i >= line.size() || line[i] < 'A' || line[i] > 'Z') {
        return false;
    }
    while (i < line.size() && isNameChar(line[i])) {
        ++i;
    }
    if (i >= line.size() || line[i] != ' ') {
        return false;
    }
    entry.name = line.substr(nameStart, i - nameStart);
    ++i;
    if (!parseQuoted(line, i, entry.text)) {
        return false;
    }
    entry.id = static_cast<int>(value);
    return i == line.size();
}

bool parseTemplatePair(const std::string& line, std::string& from, std::string& to) {
    std::size_t i = 0;
    if (!parseQuoted(line, i, from) || i >= line.size() || line[i] != ' ') {
        return false;
    }
    ++i;
    return parseQuoted(line, i, to) && i == line.size();
}

bool parseLanguage(const std::string& line, std::string& language) {
    static const std::string kKey = "language ";
    if (line.compare(0, kKey.size(), kKey) != 0 || line.size() == kKey.size()) {
        return false;
    }
    language = line.substr(kKey.size());
    for (const char c : language) {
        if (c < 'a' || c > 'z') {
            return false;
        }
    }
    return true;
}

struct Table {
    std::map<int, std::string> texts;
    std::map<std::string, std::string> templateTexts;
    LayoutLanguage layoutLanguage = LayoutLanguage::Other;
};

std::string lookUp(const Table& t, int id) {
    const auto it = t.texts.find(id);
    return it == t.texts.end() ? std::string() : it->second;
}

const std::map<std::string, Table>& tables() {
    static const std::map<std::string, Table> all = [] {
        std::map<std::string, Table> m;
        for (std::size_t n = 0; n < zadw_string_tables_count; ++n) {
            const std::string src(reinterpret_cast<const char*>(zadw_string_tables[n].bytes),
                                  zadw_string_tables[n].size);
            StringFile file;
            if (!parseStringFile(src, file) || m.count(file.language) != 0) {
                std::abort(); // the build embeds a broken table; the table tests catch this first
            }
            Table& t = m[file.language];
            for (StringEntry& e : file.texts) {
                t.texts.emplace(e.id, std::move(e.text));
            }
            t.templateTexts.insert(file.templateTexts.begin(), file.templateTexts.end());
            t.layoutLanguage =
                ParseLayoutLanguage(lookUp(t, static_cast<int>(StringId::LayoutLanguageTag)));
        }
        if (m.count(kSwedish) == 0) {
            std::abort();
        }
        return m;
    }();
    return all;
}

const Table* current = nullptr;

const Table& currentTable() {
    return current != nullptr ? *current : tables().at(kSwedish);
}

StringId monthId(int m) {
    return static_cast<StringId>(static_cast<int>(StringId::January) + m);
}

// Every line of a table; the language line is optional here.
bool parseLines(const std::string& source, StringFile& out, int* badLine) {
    out = StringFile{};
    std::size_t pos = 0;
    int lineNo = 0;
    while (pos < source.size()) {
        std::size_t end = source.find('\n', pos);
        if (end == std::string::npos) {
            end = source.size();
        }
        const std::string line = source.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        bool ok = false;
        if (line[0] == '"') {
            std::string from;
            std::string to;
            ok = parseTemplatePair(line, from, to);
            if (ok) {
                out.templateTexts.emplace_back(std::move(from), std::move(to));
            }
        } else if (line[0] >= '0' && line[0] <= '9') {
            StringEntry entry;
            ok = parseNumbered(line, entry);
            if (ok) {
                out.texts.push_back(std::move(entry));
            }
        } else {
            // One language line, before any text.
            ok = out.language.empty() && out.texts.empty() && out.templateTexts.empty() &&
                 parseLanguage(line, out.language);
        }
        if (!ok) {
            if (badLine != nullptr) {
                *badLine = lineNo;
            }
            return false;
        }
    }
    return true;
}

} // namespace

bool parseStringFile(const std::string& source, StringFile& out, int* badLine) {
    if (!parseLines(source, out, badLine)) {
        return false;
    }
    if (out.language.empty()) {
        if (badLine != nullptr) {
            *badLine = 1; // the language line is missing
        }
        return false;
    }
    return true;
}

bool parseStringTable(const std::string& source, void (*add)(StringEntry&&, void*), void* ctx,
                      int* badLine) {
    StringFile file;
    if (!parseLines(source, file, badLine)) {
        return false;
    }
    for (StringEntry& entry : file.texts) {
        add(std::move(entry), ctx);
    }
    return true;
}

std::string LoadString(StringId id) {
    return lookUp(currentTable(), static_cast<int>(id));
}

std::string LoadStringIn(const std::string& language, StringId id) {
    const auto& all = tables();
    const auto it = all.find(language);
    return it == all.end() ? std::string() : lookUp(it->second, static_cast<int>(id));
}

// The month names stand in order from January.
std::string monthName(int m) {
    return m < 0 || m > 11 ? std::string() : LoadString(monthId(m));
}

std::string monthNameIn(const std::string& language, int m) {
    return m < 0 || m > 11 ? std::string() : LoadStringIn(language, monthId(m));
}

LayoutLanguage CurrentLayoutLanguage() {
    return currentTable().layoutLanguage;
}

std::string TranslateTemplateText(const std::string& swedish) {
    const Table& t = currentTable();
    const auto it = t.templateTexts.find(swedish);
    return it == t.templateTexts.end() ? swedish : it->second;
}

std::vector<std::string> AvailableLanguages() {
    std::vector<std::string> out;
    for (const auto& entry : tables()) {
        out.push_back(entry.first);
    }
    return out;
}

std::string CurrentLanguage() {
    for (const auto& [language, table] : tables()) {
        if (&table == &currentTable()) {
            return language;
        }
    }
    return kSwedish;
}

bool SetLanguage(const std::string& language) {
    const auto& all = tables();
    const auto it = all.find(language);
    if (it == all.end()) {
        return false;
    }
    current = &it->second;
    return true;
}

std::string LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* chosen = nullptr;
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            chosen = value;
            break;
        }
    }
    if (chosen == nullptr) {
        return kSwedish;
    }
    std::string language;
    for (const char* p = chosen; *p != '\0' && *p != '_' && *p != '.' && *p != '@'; ++p) {
        language += (*p >= 'A' && *p <= 'Z') ? static_cast<char>(*p - 'A' + 'a') : *p;
    }
    return tables().count(language) != 0 ? language : std::string(kSwedish);
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string FormatArgs(const std::string& text, const std::vector<std::string>& args) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' &&
            static_cast<std::size_t>(next - '1') < args.size()) {
            out += args[static_cast<std::size_t>(next - '1')];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string FormatText(const std::string& text, const std::string& arg) {
    return FormatArgs(text, {arg});
}

} // namespace zadw
