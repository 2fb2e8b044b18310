#include "Strings.h"

#include <vector>

#include <cstdlib>
#include <map>

extern const unsigned char zadw_strings_txt[];
extern const std::size_t zadw_strings_txt_size;

namespace zadw {
namespace {

bool parseLine(const std::string& line, int& id, std::string& text) {
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
    if (i + 1 >= line.size() || line[i] != ' ' || line[i + 1] != '"') {
        return false;
    }
    i += 2;
    text.clear();
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            id = static_cast<int>(value);
            return i + 1 == line.size();
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

const std::map<int, std::string>& table() {
    static const std::map<int, std::string> t = [] {
        std::map<int, std::string> m;
        const std::string src(reinterpret_cast<const char*>(zadw_strings_txt),
                              zadw_strings_txt_size);
        int bad = 0;
        if (!parseStringTable(
                src,
                [](int id, std::string&& text, void* ctx) {
                    (*static_cast<std::map<int, std::string>*>(ctx))[id] = std::move(text);
                },
                &m, &bad)) {
            std::abort(); // the build embeds a broken table; the table test catches this first
        }
        return m;
    }();
    return t;
}

} // namespace

bool parseStringTable(const std::string& source, void (*add)(int, std::string&&, void*), void* ctx,
                      int* badLine) {
    std::size_t pos = 0;
    int lineNo = 0;
    while (pos < source.size()) {
        std::size_t end = source.find('\n', pos);
        if (end == std::string::npos) {
            end = source.size();
        }
        std::string line = source.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        int id = 0;
        std::string text;
        if (!parseLine(line, id, text)) {
            if (badLine != nullptr) {
                *badLine = lineNo;
            }
            return false;
        }
        add(id, std::move(text), ctx);
    }
    return true;
}

std::string LoadString(int id) {
    const auto& t = table();
    const auto it = t.find(id);
    return it == t.end() ? std::string() : it->second;
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string FormatText(const std::string& text, const std::string& arg) {
    std::string out;
    out.reserve(text.size() + arg.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '1') {
            out += arg;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
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

std::string LoadFormatted(int id, int argId) {
    std::string text = LoadString(id);
    if (argId != 0) {
        text = FormatText(text, LoadString(argId));
    }
    return text;
}

} // namespace zadw
