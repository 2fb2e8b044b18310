#include "DialogTemplates.h"

#include <iterator>

namespace zadw {
namespace {

using K = ControlKind;

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
    {147, K::StaticCenter, "", 14, 42, 25, 10, kNoPrefix | kVariableFont},
    {148, K::StaticCenter, "", 45, 42, 25, 10, kNoPrefix | kVariableFont},
    {149, K::StaticCenter, "", 76, 42, 25, 10, kNoPrefix | kVariableFont},
    {151, K::StaticCenter, "", 107, 42, 25, 10, kNoPrefix | kVariableFont},
    {152, K::StaticCenter, "", 138, 42, 25, 10, kNoPrefix | kVariableFont},
    {153, K::StaticCenter, "", 169, 42, 25, 10, kNoPrefix | kVariableFont},
    {kNoId, K::EtchedFrame, "", 10, 3, 133, 15, kStyleNone},
    {154, K::Static, "", 17, 7, 120, 8, kNoPrefix},
    {155, K::Static, "", 128, 22, 74, 8, kNoPrefix},
    {156, K::Static, "", 10, 22, 109, 8, kNoPrefix},
    {158, K::ListBox, "", 212, 3, 54, 99, kHidden | kVScroll},
    {129, K::PushButton, "", 10, 81, 94, 14, kVariableFont},
    {kNoId, K::GroupBox, "", 10, 101, 256, 41, kStyleNone},
    {159, K::Static, "", 15, 110, 245, 28, kNoPrefix | kVariableFont},
    {160, K::PushButton, "&OK", 65, 81, 50, 14, kHidden},
    {3, K::PushButton, "Anteckninga&r", 212, 34, 54, 14, kStyleNone},
    {163, K::Edit, "", 22, 82, 116, 13, kHidden},
    {270, K::StaticCenter, "", 214, 6, 46, 10, kNoPrefix},
    {150, K::StaticCenter, "", 143, 83, 56, 9, kNoPrefix},
};

} // namespace

extern const DialogTemplate kReportEntryTemplate;
const DialogTemplate kReportEntryTemplate{107, "", 275, 146, kControls, std::size(kControls)};

} // namespace zadw
