#include "DialogTemplates.h"

#include <iterator>

namespace zadw {
namespace {

using K = ControlKind;

// Wider than the original design where Linux desktop fonts need the room: the change-month
// button, the field labels (still centred over their fields) and the warning panel.
constexpr ControlTemplate kControls[] = {
    {139, K::Edit, "", 14, 55, 26, 12, kStyleNone},
    {140, K::Edit, "", 45, 55, 26, 12, kStyleNone},
    {141, K::Edit, "", 76, 55, 26, 12, kStyleNone},
    {143, K::Edit, "", 107, 55, 26, 12, kStyleNone},
    {144, K::Edit, "", 138, 55, 26, 12, kStyleNone},
    {145, K::Edit, "", 169, 55, 26, 12, kStyleNone},
    {1, K::DefPushButton, "&OK", 212, 81, 54, 14, kStyleNone},
    {2, K::PushButton, "&Avbryt", 212, 57, 54, 14, kStyleNone},
    {kNoId, K::GroupBox, "", 10, 30, 193, 44, kStyleNone},
    {kNoId, K::EtchedFrame, "", 150, 3, 54, 15, kStyleNone},
    {146, K::StaticCenter, "", 151, 6, 51, 9, kNoPrefix},
    {147, K::StaticCenter, "", 12, 42, 29, 10, kNoPrefix | kVariableFont},
    {148, K::StaticCenter, "", 43, 42, 29, 10, kNoPrefix | kVariableFont},
    {149, K::StaticCenter, "", 74, 42, 29, 10, kNoPrefix | kVariableFont},
    {151, K::StaticCenter, "", 105, 42, 29, 10, kNoPrefix | kVariableFont},
    {152, K::StaticCenter, "", 136, 42, 29, 10, kNoPrefix | kVariableFont},
    {153, K::StaticCenter, "", 167, 42, 29, 10, kNoPrefix | kVariableFont},
    {kNoId, K::EtchedFrame, "", 10, 3, 133, 15, kStyleNone},
    {154, K::Static, "", 17, 7, 120, 8, kNoPrefix},
    {155, K::Static, "", 128, 22, 74, 8, kNoPrefix},
    {156, K::Static, "", 10, 22, 109, 8, kNoPrefix},
    {158, K::ListBox, "", 212, 3, 54, 99, kHidden | kVScroll},
    {129, K::PushButton, "", 10, 81, 128, 14, kVariableFont},
    {kNoId, K::GroupBox, "", 10, 101, 256, 47, kStyleNone},
    {159, K::Static, "", 15, 110, 245, 36, kNoPrefix | kVariableFont},
    {160, K::PushButton, "&OK", 65, 81, 50, 14, kHidden},
    {3, K::PushButton, "Anteckninga&r", 212, 34, 54, 14, kStyleNone},
    {163, K::Edit, "", 22, 82, 116, 13, kHidden},
    {270, K::StaticCenter, "", 214, 6, 46, 10, kNoPrefix},
    {150, K::StaticCenter, "", 143, 83, 56, 9, kNoPrefix},
};

} // namespace

extern const DialogTemplate kReportEntryTemplate;
const DialogTemplate kReportEntryTemplate{107, "", 275, 152, kControls, std::size(kControls)};

} // namespace zadw
