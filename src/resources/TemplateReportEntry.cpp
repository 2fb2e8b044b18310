// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemplateReportEntry.h"

#include <iterator>

namespace zadw {
namespace {

using C = ReportEntryCtl;
using K = ControlKind;

// Wider than the original design where Linux desktop fonts need the room: the change-month
// button, the field labels (still centred over their fields) and the warning panel; the name
// takes two lines, and everything below it moves down to make room. The year line below the
// panel makes the dialog taller.
constexpr ControlTemplate kControls[] = {
    {C::BooksOrPublications, K::Edit, "", 14, 64, 26, 12, kStyleNone},
    {C::BrochuresOrVideos, K::Edit, "", 45, 64, 26, 12, kStyleNone},
    {C::Hours, K::Edit, "", 76, 64, 26, 12, kStyleNone},
    {C::Magazines, K::Edit, "", 107, 64, 26, 12, kStyleNone},
    {C::ReturnVisits, K::Edit, "", 138, 64, 26, 12, kStyleNone},
    {C::BibleStudies, K::Edit, "", 169, 64, 26, 12, kStyleNone},
    {C::Ok, K::DefPushButton, "&OK", 212, 90, 54, 14, kStyleNone},
    {C::Cancel, K::PushButton, "&Avbryt", 212, 66, 54, 14, kStyleNone},
    {kNoId, K::GroupBox, "", 10, 39, 193, 44, kStyleNone},
    {kNoId, K::EtchedFrame, "", 150, 3, 54, 15, kStyleNone},
    {C::MonthName, K::StaticCenter, "", 151, 6, 51, 9, kNoPrefix},
    {C::BooksOrPublicationsLabel, K::StaticCenter, "", 12, 51, 29, 10, kNoPrefix | kVariableFont},
    {C::BrochuresOrVideosLabel, K::StaticCenter, "", 43, 51, 29, 10, kNoPrefix | kVariableFont},
    {C::HoursLabel, K::StaticCenter, "", 74, 51, 29, 10, kNoPrefix | kVariableFont},
    {C::MagazinesLabel, K::StaticCenter, "", 105, 51, 29, 10, kNoPrefix | kVariableFont},
    {C::ReturnVisitsLabel, K::StaticCenter, "", 136, 51, 29, 10, kNoPrefix | kVariableFont},
    {C::BibleStudiesLabel, K::StaticCenter, "", 167, 51, 29, 10, kNoPrefix | kVariableFont},
    {kNoId, K::EtchedFrame, "", 10, 3, 133, 24, kStyleNone},
    {C::PublisherName, K::Static, "", 15, 6, 124, 18, kNoPrefix},
    {C::Category, K::Static, "", 128, 31, 74, 8, kNoPrefix},
    {C::Appointment, K::Static, "", 10, 31, 109, 8, kNoPrefix},
    {C::MonthList, K::ListBox, "", 212, 3, 54, 108, kHidden | kVScroll},
    {C::ChangeMonth, K::PushButton, "", 10, 90, 128, 14, kVariableFont},
    {kNoId, K::GroupBox, "", 10, 110, 256, 47, kStyleNone},
    {C::Warning, K::Static, "", 15, 119, 245, 36, kNoPrefix | kVariableFont},
    {C::CloseMonthList, K::PushButton, "&OK", 65, 90, 50, 14, kHidden},
    {C::Remarks, K::PushButton, "Anteckninga&r", 212, 43, 54, 14, kStyleNone},
    {C::RemarkEdit, K::Edit, "", 22, 91, 116, 13, kHidden},
    {C::GroupNumber, K::StaticCenter, "", 214, 6, 46, 10, kNoPrefix},
    {C::CreditText, K::StaticCenter, "", 143, 92, 56, 9, kNoPrefix},
    // Below the warning panel, which keeps its own texts: the year the figure belongs to.
    {C::YearLine, K::Static, "", 12, 160, 252, 18, kNoPrefix | kNoTabStop},
};

} // namespace

extern const DialogTemplate kReportEntryTemplate;
const DialogTemplate kReportEntryTemplate{TemplateId::ReportEntry, "", 275, 181, kControls,
                                          std::size(kControls)};

} // namespace zadw
