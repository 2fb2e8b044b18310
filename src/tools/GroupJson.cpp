// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupJson.h"

#include "CodePage.h"
#include "Scramble.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <stdexcept>
#include <vector>

namespace zadw {
namespace {

using Json = GroupJsonValue;

constexpr int kMonths = 12;

const char* const kTopKeys[] = {"groupNumber", "reportMonth", "secretaryEmail", "remarks",
                                "publishers"};
const char* const kPublisherKeys[] = {"firstName",   "lastName",    "email", "phones",
                                      "groupNumber", "appointment", "months"};

// The month's time is the same two bytes, under the same keys, in both forms.
const ReportValue& hoursValue() {
    return Describe(OldFormValue::Hours);
}
const ReportValue& quarterValue() {
    return Describe(OldFormValue::QuarterHours);
}

// A month's keys in order: its form, status and time, the form's counts, then the rest.
std::span<const char* const> monthKeys(bool newForm) {
    static const auto keysOf = [](bool form) {
        std::vector<const char*> keys = {"form", "status", hoursValue().jsonKey,
                                         quarterValue().jsonKey};
        for (const ReportValue& v : FormValues(form)) {
            if (v.role == ValueRole::Count) {
                keys.push_back(v.jsonKey);
            }
        }
        keys.insert(keys.end(), {"remarkSlot", "creditHours", "late"});
        return keys;
    };
    static const std::vector<const char*> newKeys = keysOf(true);
    static const std::vector<const char*> oldKeys = keysOf(false);
    return newForm ? newKeys : oldKeys;
}

// ---- record to JSON --------------------------------------------------------------------------

Json monthToJson(const GroupRecord& r, int m) {
    const bool newForm = GroupStore::isNewFormMonth(r.newFormMonthsValue(), m);
    Json j = Json::object();
    j["form"] = newForm ? "new" : "old";
    j["status"] = r.category(m);
    j[hoursValue().jsonKey] = ReadBits(r, m, hoursValue());
    j[quarterValue().jsonKey] = ReadBits(r, m, quarterValue());
    for (const ReportValue& v : FormValues(newForm)) {
        if (v.role == ValueRole::Count) {
            j[v.jsonKey] = ReadBits(r, m, v);
        }
    }
    j["remarkSlot"] = r.remarkSlot[m];
    j["creditHours"] = r.creditHours[m];
    j["late"] = r.lateFlag(m) == 1;
    return j;
}

Json publisherToJson(const GroupRecord& r) {
    Json j = Json::object();
    j["firstName"] = textField(r, TextField::FirstName);
    j["lastName"] = textField(r, TextField::LastName);
    j["email"] = textField(r, TextField::Email);
    j["phones"] = Json::array({textField(r, TextField::Phone1), textField(r, TextField::Phone2),
                               textField(r, TextField::Phone3)});
    j["groupNumber"] = static_cast<std::int8_t>(r.groupNumber);
    // The whole byte, so that stray upper bits show instead of vanishing.
    j["appointment"] = r.appointment;
    Json months = Json::array();
    for (int m = 0; m < kMonths; ++m) {
        months.push_back(monthToJson(r, m));
    }
    j["months"] = std::move(months);
    return j;
}

// ---- JSON to record --------------------------------------------------------------------------

std::string memberPath(const std::string& path, const char* key) {
    return path.empty() ? std::string(key) : path + "." + key;
}

std::string elementPath(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

class Reader {
public:
    explicit Reader(JsonFault& fault) : fault_(fault) {}

    bool fail(std::string field, std::string problem) {
        fault_.field = std::move(field);
        fault_.problem = std::move(problem);
        return false;
    }

    // An object holding exactly the keys named (in that order, so the first fault is stable).
    bool object(const Json& j, const std::string& path, std::span<const char* const> keys,
                const char* unknownWhy = "is not a known key") {
        if (!j.is_object()) {
            return fail(path, "must be a JSON object");
        }
        for (const char* key : keys) {
            if (!j.contains(key)) {
                return fail(memberPath(path, key), "is missing");
            }
        }
        for (const auto& item : j.items()) {
            bool known = false;
            for (const char* key : keys) {
                known = known || item.key() == key;
            }
            if (!known) {
                return fail(memberPath(path, item.key().c_str()), unknownWhy);
            }
        }
        return true;
    }

    bool integer(const Json& j, const std::string& field, long lo, long hi, long& out) {
        const std::string range = std::to_string(lo) + ".." + std::to_string(hi);
        if (j.is_number_unsigned()) {
            const auto v = j.get<std::uint64_t>();
            if (v > static_cast<std::uint64_t>(hi)) {
                return fail(field, "is " + std::to_string(v) + "; it must be " + range);
            }
            out = static_cast<long>(v);
        } else if (j.is_number_integer()) {
            const auto v = j.get<std::int64_t>();
            if (v < lo || v > hi) {
                return fail(field, "is " + std::to_string(v) + "; it must be " + range);
            }
            out = static_cast<long>(v);
        } else {
            return fail(field, "must be a whole number " + range);
        }
        if (out < lo) {
            return fail(field, "is " + std::to_string(out) + "; it must be " + range);
        }
        return true;
    }

    template <typename T>
    bool member(const Json& obj, const std::string& path, const char* key, long lo, long hi,
                T& out) {
        long v = 0;
        if (!integer(obj.at(key), memberPath(path, key), lo, hi, v)) {
            return false;
        }
        out = static_cast<T>(v);
        return true;
    }

    // UTF-8 text to windows-1252 bytes of at most capacity characters.
    bool text(const Json& j, const std::string& field, int capacity, std::string& bytes) {
        if (!j.is_string()) {
            return fail(field, "must be a JSON string");
        }
        std::string bad;
        if (!utf8ToCp1252(j.get_ref<const std::string&>(), bytes, &bad)) {
            return fail(field, "holds characters that windows-1252 cannot hold: " + bad);
        }
        if (bytes.find('\0') != std::string::npos) {
            return fail(field, "holds a NUL character");
        }
        if (static_cast<int>(bytes.size()) > capacity) {
            return fail(field, "is " + std::to_string(bytes.size()) +
                                   " characters long; it may be at most " +
                                   std::to_string(capacity));
        }
        return true;
    }

    bool textField(const Json& j, const std::string& field, GroupRecord& rec, TextField f) {
        std::string bytes;
        if (!text(j, field, textFieldCapacity(f), bytes)) {
            return false;
        }
        std::string error;
        if (!setTextField(rec, f, j.get_ref<const std::string&>(), &error)) {
            return fail(field, error);
        }
        return true;
    }

    bool array(const Json& j, const std::string& field, std::size_t maxSize) {
        if (!j.is_array()) {
            return fail(field, "must be a JSON list");
        }
        if (j.size() > maxSize) {
            return fail(field, "has " + std::to_string(j.size()) + " entries; at most " +
                                   std::to_string(maxSize) + " fit in a group file");
        }
        return true;
    }

    bool exactArray(const Json& j, const std::string& field, std::size_t size) {
        if (!j.is_array()) {
            return fail(field, "must be a JSON list");
        }
        if (j.size() != size) {
            return fail(field, "has " + std::to_string(j.size()) + " entries; it must have " +
                                   std::to_string(size));
        }
        return true;
    }

private:
    JsonFault& fault_;
};

bool readMonth(Reader& rd, const Json& j, const std::string& path, GroupRecord& r, int m) {
    if (!j.is_object()) {
        return rd.fail(path, "must be a JSON object");
    }
    if (!j.contains("form")) {
        return rd.fail(memberPath(path, "form"), "is missing");
    }
    const Json& form = j.at("form");
    if (!form.is_string() || (form != "old" && form != "new")) {
        return rd.fail(memberPath(path, "form"), "must be \"old\" or \"new\"");
    }
    const bool newForm = form == "new";
    if (!rd.object(j, path, monthKeys(newForm),
                   newForm ? "is not a key of a new-form month"
                           : "is not a key of an old-form month")) {
        return false;
    }

    std::uint8_t status = 0;
    if (!rd.member(j, path, "status", 0, 3, status) ||
        !rd.member(j, path, hoursValue().jsonKey, 0, BitsMaximum(hoursValue()), r.hours[m]) ||
        !rd.member(j, path, quarterValue().jsonKey, 0, 3, r.quarterHours[m])) {
        return false;
    }
    r.monthStatus[m] = status;
    // Every count at its full width, so that anything accepted reads back the same.
    const auto values = FormValues(newForm);
    std::vector<unsigned> counts(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].role == ValueRole::Count &&
            !rd.member(j, path, values[i].jsonKey, 0, BitsMaximum(values[i]), counts[i])) {
            return false;
        }
    }
    PackCounts(r, m, newForm, [&](const ReportValue& v) {
        return counts[static_cast<std::size_t>(&v - values.data())];
    });
    std::uint16_t set = r.newFormMonthsValue();
    GroupStore::setNewFormMonth(set, m, newForm);
    r.setNewFormMonthsValue(set);

    if (!rd.member(j, path, "remarkSlot", 0, kMaxRemarkSlots, r.remarkSlot[m]) ||
        !rd.member(j, path, "creditHours", 0, 255, r.creditHours[m])) {
        return false;
    }
    const Json& late = j.at("late");
    if (!late.is_boolean()) {
        return rd.fail(memberPath(path, "late"), "must be true or false");
    }
    r.lateFlag(m) = late.get<bool>() ? 1 : 0;
    return true;
}

// Which JSON field a byte of the record's text area belongs to.
const char* textFieldAt(std::size_t offset) {
    if (offset < offsetof(GroupRecord, lastName)) {
        return "firstName";
    }
    if (offset < offsetof(GroupRecord, email)) {
        return "lastName";
    }
    if (offset < offsetof(GroupRecord, phone1)) {
        return "email";
    }
    if (offset < offsetof(GroupRecord, phone2)) {
        return "phones[0]";
    }
    if (offset < offsetof(GroupRecord, phone3)) {
        return "phones[1]";
    }
    return "phones[2]"; // a full phone3 runs on into the late flags
}

// The file's scrambling loses some bytes at some positions (and a full phone2 or phone3 runs on
// into the next field); refuse such text rather than write a file that reads back differently.
bool checkCarried(Reader& rd, const GroupRecord& r, const std::string& path) {
    GroupRecord copy = r;
    scrambleFields(copy, +1);
    scrambleFields(copy, -1);
    for (std::size_t i = 0; i < kRecordSize; ++i) {
        if (copy.bytes()[i] != r.bytes()[i]) {
            return rd.fail(memberPath(path, textFieldAt(i)),
                           "cannot be stored as it stands: the group file's scrambling would "
                           "change it when read back");
        }
    }
    return true;
}

bool readPublisher(Reader& rd, const Json& j, const std::string& path, GroupRecord& r) {
    if (!rd.object(j, path, kPublisherKeys)) {
        return false;
    }
    if (!rd.textField(j.at("firstName"), memberPath(path, "firstName"), r, TextField::FirstName) ||
        !rd.textField(j.at("lastName"), memberPath(path, "lastName"), r, TextField::LastName) ||
        !rd.textField(j.at("email"), memberPath(path, "email"), r, TextField::Email)) {
        return false;
    }
    const Json& phones = j.at("phones");
    const std::string phonesPath = memberPath(path, "phones");
    if (!rd.exactArray(phones, phonesPath, 3)) {
        return false;
    }
    const TextField phoneFields[] = {TextField::Phone1, TextField::Phone2, TextField::Phone3};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!rd.textField(phones[i], elementPath(phonesPath, i), r, phoneFields[i])) {
            return false;
        }
    }
    std::int8_t group = 0;
    if (!rd.member(j, path, "groupNumber", -128, 127, group) ||
        !rd.member(j, path, "appointment", 0, 3, r.appointment)) {
        return false;
    }
    r.groupNumber = static_cast<std::uint8_t>(group);

    const Json& months = j.at("months");
    const std::string monthsPath = memberPath(path, "months");
    if (!rd.exactArray(months, monthsPath, kMonths)) {
        return false;
    }
    for (int m = 0; m < kMonths; ++m) {
        if (!readMonth(rd, months[static_cast<std::size_t>(m)],
                       elementPath(monthsPath, static_cast<std::size_t>(m)), r, m)) {
            return false;
        }
    }
    return checkCarried(rd, r, path);
}

// ---- formatting ------------------------------------------------------------------------------

bool hasOnlyScalars(const Json& j) {
    for (const auto& child : j) {
        if (child.is_structured()) {
            return false;
        }
    }
    return true;
}

std::string inlineText(const Json& j) {
    if (!j.is_structured()) {
        return j.dump();
    }
    std::string s = j.is_object() ? "{" : "[";
    bool first = true;
    for (const auto& item : j.items()) {
        s += first ? "" : ", ";
        first = false;
        if (j.is_object()) {
            s += Json(item.key()).dump() + ": ";
        }
        s += inlineText(item.value());
    }
    return s + (j.is_object() ? "}" : "]");
}

constexpr std::size_t kInlineWidth = 100;

// Objects of plain values (a month) stay on one line, as do short lists of plain values (the
// phones); everything else gets a line per entry.
void formatValue(const Json& j, int indent, std::string& out) {
    if (!j.is_structured() || j.empty() ||
        (hasOnlyScalars(j) && (j.is_object() || inlineText(j).size() <= kInlineWidth))) {
        out += inlineText(j);
        return;
    }
    const std::string pad(static_cast<std::size_t>(indent + 2), ' ');
    out += j.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (const auto& item : j.items()) {
        out += first ? "" : ",\n";
        first = false;
        out += pad;
        if (j.is_object()) {
            out += Json(item.key()).dump() + ": ";
        }
        formatValue(item.value(), indent + 2, out);
    }
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict, wrongly) on a temporary string
    // built from "\n" + std::string.
    out += '\n';
    out.append(static_cast<std::size_t>(indent), ' ');
    out += j.is_object() ? '}' : ']';
}

} // namespace

GroupJsonValue groupToJson(const GroupStore& store) {
    Json j = Json::object();
    j["groupNumber"] = store.groupNumber;
    j["reportMonth"] = store.reportMonth;
    j["secretaryEmail"] = store.secretaryEmail();
    Json remarks = Json::array();
    for (int k = 1; k <= store.remarkCount; ++k) {
        remarks.push_back(remarkText(store.remarkSlot(k)));
    }
    j["remarks"] = std::move(remarks);
    Json publishers = Json::array();
    for (int p = 1; p <= store.publisherCount; ++p) {
        publishers.push_back(publisherToJson(store.record(p)));
    }
    j["publishers"] = std::move(publishers);
    return j;
}

std::string formatGroupJson(const GroupJsonValue& json) {
    std::string out;
    formatValue(json, 0, out);
    out += '\n';
    return out;
}

bool groupFromJson(const GroupJsonValue& json, GroupContent& out, JsonFault& fault) {
    Reader rd(fault);
    out = GroupContent{};
    if (!rd.object(json, "", kTopKeys)) {
        return false;
    }
    GroupRecord& h = out.header;
    // The loader takes a report month past December for a foreign file, so it must not be written.
    if (!rd.member(json, "", "groupNumber", 0, 255, h.groupNumber) ||
        !rd.member(json, "", "reportMonth", 0, 11, h.reportMonth) ||
        !rd.textField(json.at("secretaryEmail"), "secretaryEmail", h, TextField::Email)) {
        return false;
    }

    const Json& remarks = json.at("remarks");
    if (!rd.array(remarks, "remarks", kMaxRemarkSlots)) {
        return false;
    }
    out.remarks.resize(remarks.size(), RemarkSlot{});
    for (std::size_t k = 0; k < remarks.size(); ++k) {
        std::string bytes;
        if (!rd.text(remarks[k], elementPath("remarks", k), kMaxRemarkChars, bytes)) {
            return false;
        }
        std::memcpy(out.remarks[k].text, bytes.data(), bytes.size());
    }

    const Json& publishers = json.at("publishers");
    if (!rd.array(publishers, "publishers", kMaxPublishers)) {
        return false;
    }
    out.publishers.resize(publishers.size(), GroupRecord{});
    for (std::size_t p = 0; p < publishers.size(); ++p) {
        if (!readPublisher(rd, publishers[p], elementPath("publishers", p), out.publishers[p])) {
            return false;
        }
    }
    h.publisherCount = static_cast<std::uint8_t>(out.publishers.size());
    h.setRemarkCountValue(static_cast<std::uint16_t>(out.remarks.size()));
    return true;
}

namespace {

// what() starts with the library's own tag; the rest says where and why.
std::string withoutLibraryTag(std::string why) {
    const auto tagEnd = why.find("] ");
    if (why.rfind("[json.exception", 0) == 0 && tagEnd != std::string::npos) {
        why.erase(0, tagEnd + 2);
    }
    return why;
}

} // namespace

bool parseGroupJson(const std::string& text, GroupContent& out, JsonFault& fault) {
    // Every fault the library or the allocator can raise becomes one line, never an abort:
    // a number too large for a double (1e400) is out_of_range, not a parse_error.
    try {
        Json json = Json::parse(text);
        return groupFromJson(json, out, fault);
    } catch (const Json::parse_error& e) {
        fault.problem = "is not JSON: " + withoutLibraryTag(e.what());
    } catch (const Json::exception& e) {
        fault.problem = "is not usable JSON: " + withoutLibraryTag(e.what());
    } catch (const std::bad_alloc&) {
        fault.problem = "is too large";
    } catch (const std::length_error&) {
        fault.problem = "is too large";
    }
    fault.field.clear(); // the fault is the whole input's
    return false;
}

std::string dumpGroupJson(const GroupStore& store) {
    return formatGroupJson(groupToJson(store));
}

} // namespace zadw
