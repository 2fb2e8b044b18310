// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogTemplates.h"

#include <iterator>

namespace zadw {
namespace {

using K = ControlKind;

// Wider than the original design where Linux desktop fonts need the room: the change-month
// button, the field labels (still centred over their fields) and the warning panel; the name
// takes two lines, and everything below it moves down to make room.
constexpr ControlTemplate kControls[] = {
    {139, K::Edit, "", 14, 64, 26, 12, kStyleNone},
    {140, K::Edit, "", 45, 64, 26, 12, kStyleNone},
    {141, K::Edit, "", 76, 64, 26, 12, kStyleNone},
    {143, K::Edit, "", 107, 64, 26, 12, kStyleNone},
    {144, K::Edit, "", 138, 64, 26, 12, kStyleNone},
    {145, K::Edit, "", 169, 64, 26, 12, kStyleNone},
    {1, K::DefPushButton, "&OK", 212, 90, 54, 14, kStyleNone},
    {2, K::PushButton, "&Avbryt", 212, 66, 54, 14, kStyleNone},
    {kNoId, K::GroupBox, "", 10, 39, 193, 44, kStyleNone},
    {kNoId, K::EtchedFrame, "", 150, 3, 54, 15, kStyleNone},
    {146, K::StaticCenter, "", 151, 6, 51, 9, kNoPrefix},
    {147, K::StaticCenter, "", 12, 51, 29, 10, kNoPrefix | kVariableFont},
    {148, K::StaticCenter, "", 43, 51, 29, 10, kNoPrefix | kVariableFont},
    {149, K::StaticCenter, "", 74, 51, 29, 10, kNoPrefix | kVariableFont},
    {151, K::StaticCenter, "", 105, 51, 29, 10, kNoPrefix | kVariableFont},
    {152, K::StaticCenter, "", 136, 51, 29, 10, kNoPrefix | kVariableFont},
    {153, K::StaticCenter, "", 167, 51, 29, 10, kNoPrefix | kVariableFont},
    {kNoId, K::EtchedFrame, "", 10, 3, 133, 24, kStyleNone},
    {154, K::Static, "", 15, 6, 124, 18, kNoPrefix},
    {155, K::Static, "", 128, 31, 74, 8, kNoPrefix},
    {156, K::Static, "", 10, 31, 109, 8, kNoPrefix},
    {158, K::ListBox, "", 212, 3, 54, 108, kHidden | kVScroll},
    {129, K::PushButton, "", 10, 90, 128, 14, kVariableFont},
    {kNoId, K::GroupBox, "", 10, 110, 256, 47, kStyleNone},
    {159, K::Static, "", 15, 119, 245, 36, kNoPrefix | kVariableFont},
    {160, K::PushButton, "&OK", 65, 90, 50, 14, kHidden},
    {3, K::PushButton, "Anteckninga&r", 212, 43, 54, 14, kStyleNone},
    {163, K::Edit, "", 22, 91, 116, 13, kHidden},
    {270, K::StaticCenter, "", 214, 6, 46, 10, kNoPrefix},
    {150, K::StaticCenter, "", 143, 92, 56, 9, kNoPrefix},
};

} // namespace

extern const DialogTemplate kReportEntryTemplate;
const DialogTemplate kReportEntryTemplate{107, "", 275, 161, kControls, std::size(kControls)};

} // namespace zadw
