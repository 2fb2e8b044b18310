// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One publisher's report for one month, typed field by field from the keyboard. The dialog works
// on a copy of the publisher's record and writes it back whole when the report changed; its
// month list enters late reports for the other months.

#include "DigitEdit.h"
#include "EntryContext.h"
#include "GroupRecord.h"
#include "MonthValues.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zadw {

class CReportEntryDlg : public QDialog {
    Q_OBJECT

public:
    // The context's group, date and language are what the dialog works on.
    CReportEntryDlg(EntryContext& context, int publisher, QWidget* parent = nullptr);

    void LoadMonth();
    void OnOK();
    void OnOKButton();
    void MoveAcrossFields(bool forward);
    void OpenRemarkEditor();
    void ShowMonthList();
    void SelectMonth();
    void CloseMonthList();
    // Escape in the month list: back to the month, figures and field from before the list.
    void CancelMonthList();

    // Remark editor: 0 closed, 1 open, 2 being closed by OK.
    enum { RemarkIdle = 0, RemarkOpen = 1, RemarkClosing = 2 };

    // The dialog's state, read by the tests.
    const int publisher;
    int month = 0;
    bool newForm = false;
    GroupRecord recordCopy{};
    EntryValues values;
    std::uint8_t creditHourCount = 0;
    std::string remarkText;
    int remarkNumber = 0;
    int remarkState = RemarkIdle;
    bool changed = false;
    bool lateEntry = false;
    bool notCounted = false;
    bool monthListShown = false;

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InitDialog();
    void HideMonthList();
    void LeaveHoursField();
    void LeaveRemarkEditor();
    void RefuseRemark(const QString& typed, const std::string& unmappable);
    bool StoreMonth();
    void CommitRecord();
    void UpdateCreditHours(int h);
    void UpdateWarning();
    // The publisher's regularity and, for a regular pioneer, the service year with the hours
    // now typed.
    void UpdateYearLine();
    void FocusField(QWidget* field);
    // Where typing goes on after a remark: the first field after the last one not 0, or OK.
    QWidget* FieldAfterLastFilled() const;
    // Asks about each figure that looks like a typing slip; false when one is to be corrected.
    bool ConfirmUnusualFigures(const EntryValues& typed);
    void RefuseText(EntryField field);
    bool IsEntryField(const QObject* object) const;
    QLineEdit* Field(EntryField id) const;
    int HoursValue() const;

    // True when the group was read again from disk while the dialog was open: its publisher
    // number may now be someone else, so nothing more is stored through it.
    bool GroupReplaced() const;

    EntryContext& owner_;
    int generation_ = 0;
    std::array<CDigitEdit, kEntryFields.size()> digitEdits_; // by EntryFieldIndex
    QLineEdit* remarkEdit_ = nullptr;
    QListWidget* monthList_ = nullptr;
    QPushButton* okButton_ = nullptr;
    bool closing_ = false;
    bool okPressLeftEditor_ = false;

    // What the dialog showed when the month list opened.
    struct BeforeList {
        int month = 0;
        bool newForm = false;
        EntryValues values;
        std::uint8_t creditHourCount = 0;
        std::string remarkText;
        int remarkNumber = 0;
        std::array<QString, kEntryFields.size()> texts;
        QString creditText;
        QPointer<QWidget> focus;
    };
    BeforeList beforeList_;
};

} // namespace zadw
