// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report entry dialog's controls.

#include "DialogTemplates.h"

namespace zadw {

enum class ReportEntryCtl : int {
    Ok = 1,
    Cancel = 2,
    Remarks = 3,
    ChangeMonth = 129, // opens the month list for late reports
    // The six fields, numbered as the entry's fields are.
    BooksOrPublications = 139,
    BrochuresOrVideos = 140,
    Hours = 141,
    Magazines = 143, // old form only
    ReturnVisits = 144,
    BibleStudies = 145,
    MonthName = 146,
    // Each field's label stands 8 above its field's id.
    BooksOrPublicationsLabel = 147,
    BrochuresOrVideosLabel = 148,
    HoursLabel = 149,
    CreditText = 150, // a regular pioneer's credit hours
    MagazinesLabel = 151,
    ReturnVisitsLabel = 152,
    BibleStudiesLabel = 153,
    PublisherName = 154,
    Category = 155,
    Appointment = 156,
    MonthList = 158,
    Warning = 159,
    CloseMonthList = 160,
    RemarkEdit = 163,
    GroupNumber = 270,
    YearLine = 1100, // the publisher's regularity and a regular pioneer's service year
};
template <> inline constexpr bool kIsControlIdEnum<ReportEntryCtl> = true;

} // namespace zadw
