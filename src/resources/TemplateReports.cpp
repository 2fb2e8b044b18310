// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemplateReports.h"

#include <iterator>

namespace zadw {
namespace {

using C = ReportsCtl;
using K = ControlKind;

// Grown where Linux desktop fonts need the room: "Avsluta programmet" and "Ring upp" are wider,
// and the last-entered box holds a name of 20 + 20 characters on two lines. The status frame
// holds five lines at 10 units apart above the filter. The rows stand in the Tab order, which
// follows the window: the list, then the commands top to bottom and left to right.
constexpr ControlTemplate kControls[] = {
    {C::PublisherList, K::ListBox, "", 10, 10, 118, 147, kVScroll},
    {kNoId, K::GroupBox, " Senast införda rapport ", 10, 167, 118, 34, kStyleNone},
    {C::LastEntered, K::StaticCenter, "", 14, 180, 110, 18, kNoPrefix},
    {C::LoadNewList, K::PushButton, "Ladda ner ny lista från sekreteraren", 138, 10, 171, 13,
     kStyleNone},
    {C::SummaryPreview, K::PushButton, "Se eller skriv ut sammanställningslista", 138, 28, 171, 13,
     kStyleNone},
    {C::SendUpdates, K::PushButton, "Sänd uppdateringar till sekreteraren", 138, 46, 171, 13,
     kStyleNone},
    {C::UnreportedOnly, K::CheckBox, "Visa endast dem som ej rapporterat", 148, 119, 154, 10,
     kStyleNone},
    {C::EnterReport, K::DefPushButton, "OK", 138, 143, 171, 14, kStyleNone},
    {C::MissingCount, K::Static, "", 148, 78, 152, 8, kNoPrefix},
    {C::PublisherCount, K::Static, "", 148, 68, 152, 8, kNoPrefix},
    {C::RemarkOnlyCount, K::Static, "", 148, 88, 152, 8, kNoPrefix | kHidden},
    {C::SentLine, K::Static, "", 148, 98, 158, 8, kNoPrefix},
    {C::ChangedLine, K::Static, "", 148, 108, 158, 8, kNoPrefix | kHidden},
    {C::PhoneNumber, K::StaticCenter, "", 182, 167, 82, 8, kNoPrefix},
    {C::Dial, K::PushButton, "Ring upp", 138, 164, 43, 13, kHidden},
    {C::NextNumber, K::PushButton, "> > >", 272, 164, 37, 13, kHidden},
    {C::Help, K::PushButton, "Hjälp", 137, 185, 75, 13, kStyleNone},
    {C::ExitProgram, K::PushButton, "Avsluta programmet", 222, 185, 87, 13, kStyleNone},
    {C::StatusFrame, K::EtchedFrame, "", 138, 64, 172, 69, kStyleNone},
    {C::ReminderPreview, K::PushButton, "Förhandsgranska e-post", 9, 203, 118, 13, kHidden},
    {C::SendReminder, K::PushButton, "", 137, 203, 172, 13, kHidden},
};

} // namespace

extern const DialogTemplate kReportsTemplate;
const DialogTemplate kReportsTemplate{
    TemplateId::Reports, "Rapporter över tjänst på fältet", 320, 221, kControls,
    std::size(kControls)};

} // namespace zadw
