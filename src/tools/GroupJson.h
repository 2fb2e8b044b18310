// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole group as JSON and back: what `zadw-tool dump` prints and `zadw-tool build` reads.
// Every value is checked against the width the group file stores it in, so anything accepted
// here is written and read back exactly.

#include "GroupRecord.h"
#include "GroupStore.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace zadw {

using GroupJsonValue = nlohmann::ordered_json;

// The records a group is made of, ready for GroupStore::assign.
struct GroupContent {
    GroupRecord header{};
    std::vector<GroupRecord> publishers;
    std::vector<RemarkSlot> remarks;
};

// Why JSON was refused: the field as a path ("publishers[3].months[10].hours", empty when the
// whole text is at fault) and what is wrong with it.
struct JsonFault {
    std::string field;
    std::string problem;
};

// The loaded group (storageReady) as JSON. Never fails: bytes outside the JSON's ranges are
// shown as they decode (a quarter byte of 7 gives 7), even though groupFromJson refuses them.
GroupJsonValue groupToJson(const GroupStore& store);

// JSON text with one month per line, ending in a newline.
std::string formatGroupJson(const GroupJsonValue& json);

// Builds the records from JSON. On false, fault names the first bad field and out may be
// partly filled.
bool groupFromJson(const GroupJsonValue& json, GroupContent& out, JsonFault& fault);

// The same from JSON text; text that is not JSON is a fault with an empty field.
bool parseGroupJson(const std::string& text, GroupContent& out, JsonFault& fault);

// The store's group as formatted JSON text (groupToJson, then formatGroupJson).
std::string dumpGroupJson(const GroupStore& store);

} // namespace zadw
