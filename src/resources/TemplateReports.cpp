// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogTemplates.h"

#include <iterator>

namespace zadw {
namespace {

using K = ControlKind;

// Grown where Linux desktop fonts need the room: "Avsluta programmet" and "Ring upp" are wider,
// and the last-entered box holds a name of 20 + 20 characters on two lines.
constexpr ControlTemplate kControls[] = {
    {1, K::DefPushButton, "OK", 138, 135, 171, 14, kStyleNone},
    {2, K::PushButton, "Avsluta programmet", 222, 177, 87, 13, kStyleNone},
    {138, K::ListBox, "", 10, 10, 118, 139, kVScroll},
    {162, K::CheckBox, "Visa endast dem som ej rapporterat", 148, 107, 154, 10, kStyleNone},
    {kNoId, K::GroupBox, " Senast införda rapport ", 10, 159, 118, 34, kStyleNone},
    {133, K::StaticCenter, "", 14, 172, 110, 18, kNoPrefix},
    {3, K::PushButton, "Ladda ner ny lista från sekreteraren", 138, 10, 171, 13, kStyleNone},
    {4, K::PushButton, "Sänd uppdateringar till sekreteraren", 138, 46, 171, 13, kStyleNone},
    {1000, K::Static, "", 148, 92, 152, 8, kNoPrefix},
    {1001, K::Static, "", 148, 75, 152, 8, kNoPrefix},
    {1002, K::StaticCenter, "", 182, 159, 82, 8, kNoPrefix},
    {1003, K::PushButton, "Ring upp", 138, 156, 43, 13, kHidden},
    {1004, K::PushButton, "> > >", 272, 156, 37, 13, kHidden},
    {1005, K::PushButton, "Hjälp", 137, 177, 75, 13, kStyleNone},
    {kNoId, K::EtchedFrame, "", 138, 64, 172, 61, kStyleNone},
    {5, K::PushButton, "Se eller skriv ut sammanställningslista", 138, 28, 171, 13, kStyleNone},
    {1006, K::PushButton, "", 137, 195, 172, 13, kHidden},
    {1007, K::PushButton, "Förhandsgranska e-post", 9, 195, 118, 13, kHidden},
};

} // namespace

extern const DialogTemplate kReportsTemplate;
const DialogTemplate kReportsTemplate{102, "Rapporter över tjänst på fältet", 320, 213, kControls,
                                      std::size(kControls)};

} // namespace zadw
