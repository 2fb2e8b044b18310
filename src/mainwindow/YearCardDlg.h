// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One publisher's year card: every stored value of the twelve months in the form each month is
// held in, with category, credit hours and remark, as a table a screen reader reads as one.

#include "DialogTemplates.h"
#include "GroupStore.h"
#include "YearOverview.h"

#include <QDialog>

class QTableWidget;

namespace zadw {

enum class YearCardCtl : int {
    Close = 2,
    Table = 1710,
};
template <> inline constexpr bool kIsControlIdEnum<YearCardCtl> = true;

class CYearCardDlg : public QDialog {
    Q_OBJECT

public:
    // The publisher's year up to the report month of serviceYear. The store is only read.
    CYearCardDlg(const GroupStore& store, const PublisherYear& publisher, int serviceYear,
                 QWidget* parent);

    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

} // namespace zadw
