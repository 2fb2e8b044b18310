// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportEntryDlg.h"

#include "CodePage.h"
#include "ReportRules.h"
#include "Strings.h"
#include "TemplateBuilder.h"
#include "TextFit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcutEvent>
#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace zadw {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Control ids of template 107 besides the six fields.
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kRemarks = 3;
constexpr int kChangeMonth = 129;
constexpr int kMonthName = 146;
constexpr int kCreditText = 150;
constexpr int kPublisherName = 154;
constexpr int kCategory = 155;
constexpr int kAppointment = 156;
constexpr int kMonthList = 158;
constexpr int kWarning = 159;
constexpr int kCloseMonthList = 160;
constexpr int kRemarkEdit = 163;
constexpr int kGroupNumber = 270;

constexpr int kFirstFieldId = 139;

// Each field's label stands 8 ids above it (147..153 over 139..145).
int labelOf(EntryField field) {
    return static_cast<int>(field) + 8;
}

constexpr int kCategoryText[] = {0, 1026, 1027, 1029};
constexpr int kAppointmentText[] = {0, 1023, 1024, 1025};

std::string textOf(int id) {
    return id == 0 ? std::string() : LoadString(id);
}

// A focus change inside the dialog, not a menu or another window coming up over it.
bool movesWithinDialog(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

CReportEntryDlg::CReportEntryDlg(EntryContext& context, int publisher, QWidget* parent)
    : QDialog(parent), publisher(publisher), owner_(context), generation_(context.group.generation()) {
    // A caption but no system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildFromTemplate(this, 107);
    for (const EntryField id : kEntryFields) {
        CDigitEdit& digits = digitEdits_[EntryFieldIndex(id)];
        digits.Attach(control<QLineEdit>(this, static_cast<int>(id)));
        connect(&digits, &CDigitEdit::moveAcrossFields, this, &CReportEntryDlg::MoveAcrossFields);
    }
    remarkEdit_ = control<QLineEdit>(this, kRemarkEdit);
    monthList_ = control<QListWidget>(this, kMonthList);
    okButton_ = control<QPushButton>(this, kOk);

    // The remark slot holds 36 characters: the collector sees the limit while typing.
    remarkEdit_->setMaxLength(kMaxRemarkChars);

    connect(okButton_, &QPushButton::clicked, this, &CReportEntryDlg::OnOKButton);
    // A press on OK that the collector drags away from presses nothing, and closes no editor twice.
    connect(okButton_, &QPushButton::released, this,
            [this] { QTimer::singleShot(0, this, [this] { okPressLeftEditor_ = false; }); });
    connect(control<QPushButton>(this, kCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(control<QPushButton>(this, kRemarks), &QPushButton::clicked, this,
            &CReportEntryDlg::OpenRemarkEditor);
    connect(control<QPushButton>(this, kChangeMonth), &QPushButton::clicked, this,
            &CReportEntryDlg::ShowMonthList);
    connect(control<QPushButton>(this, kCloseMonthList), &QPushButton::clicked, this,
            &CReportEntryDlg::CloseMonthList);
    connect(monthList_, &QListWidget::currentRowChanged, this, &CReportEntryDlg::SelectMonth);
    connect(monthList_, &QListWidget::itemDoubleClicked, this, &CReportEntryDlg::CloseMonthList);

    for (const int id :
         {kFirstFieldId, static_cast<int>(EntryField::Hours), kRemarkEdit, kMonthList}) {
        control(this, id)->installEventFilter(this);
    }
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->installEventFilter(this);
    }
    InitDialog();
}

QLineEdit* CReportEntryDlg::Field(EntryField id) const {
    return digitEdits_[EntryFieldIndex(id)].edit();
}

int CReportEntryDlg::HoursValue() const {
    return IntegerValue(Field(EntryField::Hours)->text().toStdString());
}

void CReportEntryDlg::InitDialog() {
    const GroupStore& store = owner_.store;
    month = store.reportMonth;
    newForm = store.newFormActive;

    const QString name = qs(store.displayName(publisher, false));
    setWindowTitle(ReadableText(name));
    SetLabelText(control<QLabel>(this, kPublisherName), name);
    remarkEdit_->setAccessibleName(
        control<QPushButton>(this, kRemarks)->text().remove(QLatin1Char('&')));

    {
        const QSignalBlocker block(monthList_);
        monthList_->clear();
        for (int m = 0; m < 12; ++m) {
            monthList_->addItem(qs(MonthName(m, false, owner_.languageTag)));
        }
        monthList_->setCurrentRow(month);
    }
    monthList_->hide();
    control(this, kCloseMonthList)->hide();
    remarkEdit_->hide();

    recordCopy = store.record(publisher);

    control<QPushButton>(this, kChangeMonth)->setText(qs(LoadString(114)));
    monthList_->setAccessibleName(qs(LoadString(114)).remove(QLatin1Char('&')));

    LoadMonth();
    FocusField(Field(EntryField::BooksOrPublications));
}

void CReportEntryDlg::LoadMonth() {
    GroupStore& store = owner_.store;
    for (const EntryField f : kEntryFields) {
        // A field the form has no value for (the new form's magazines) is hidden with its label.
        const ReportValue* value = ValueOfField(f, newForm);
        Field(f)->setVisible(value != nullptr);
        control(this, labelOf(f))->setVisible(value != nullptr);
        const QString label = qs(textOf(value == nullptr ? 0 : value->labelId));
        control<QLabel>(this, labelOf(f))->setText(label);
        // A screen reader names each field by the label above it.
        Field(f)->setAccessibleName(label);
    }
    control<QLabel>(this, kMonthName)->setText(qs(MonthName(month, false, owner_.languageTag)));

    const LoadedMonth loaded = LoadMonthValues(recordCopy, month, newForm);
    values = loaded.values;
    creditHourCount = loaded.creditHourCount;

    // Only looked up: a slot is reserved when a remark is actually stored, so browsing the
    // months does not use up the group's slots.
    std::string remark;
    remarkNumber = store.getRemark(publisher, month, remark, true);
    remarkText = qs(remark).trimmed().toStdString();

    const EntryField hours = zadw::HoursValue(newForm).entry;
    UpdateCreditHours(values[hours]);

    for (const EntryField f : kEntryFields) {
        Field(f)->setText(f == hours ? qs(FormatHours(values[f], values.quarterCode))
                                     : QString::number(values[f]));
    }

    const int category = recordCopy.category(month);
    control<QLabel>(this, kCategory)->setText(qs(textOf(kCategoryText[category])));
    control<QLabel>(this, kAppointment)
        ->setText(qs(textOf(kAppointmentText[recordCopy.appointment & 0x03])));
    control<QLabel>(this, kGroupNumber)
        ->setText(qs(LoadString(1058)) + QLatin1Char(' ') +
                  QString::number(static_cast<std::int8_t>(recordCopy.groupNumber)));
    // The credit hours stand where the month list's button is while the list is open.
    control(this, kCreditText)->setVisible(category == kCategoryRegularPioneer && !monthListShown);

    UpdateWarning();
}

void CReportEntryDlg::UpdateCreditHours(int h) {
    const CreditHours credit =
        zadw::UpdateCreditHours(h, recordCopy.category(month), creditHourCount, remarkText);
    creditHourCount = credit.creditHourCount;
    remarkText = credit.remarkText;
    control<QLabel>(this, kCreditText)->setText(qs(credit.creditText));
}

void CReportEntryDlg::UpdateWarning() {
    const GroupStore& store = owner_.store;
    WarningInput in;
    in.month = month;
    in.reportMonth = store.reportMonth;
    in.wholeHours = values[zadw::HoursValue(newForm).entry];
    in.monthCategory = recordCopy.category(month);
    in.reportMonthCategory = recordCopy.category(store.reportMonth);
    in.monthListShown = monthListShown;
    in.hasLateFlag = store.hasLateFlag(publisher, month);
    // The panel's own line breaks stay; one inside the name is spelled out.
    in.displayName = ReadableText(qs(store.displayName(publisher, false))).toStdString();
    in.languageTag = owner_.languageTag;
    const Warning w = zadw::UpdateWarning(in);
    control<QLabel>(this, kWarning)->setText(qs(w.text));
    lateEntry = w.lateEntry;
    notCounted = w.notCounted;
}

void CReportEntryDlg::FocusField(QWidget* field) {
    field->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll(); // also when it had the focus already
    }
}

void CReportEntryDlg::MoveAcrossFields(bool forward) {
    QWidget* focus = focusWidget();
    QLineEdit* first = Field(EntryField::BooksOrPublications);
    QLineEdit* last = Field(EntryField::BibleStudies);
    if (forward && focus == last) {
        FocusField(first);
    } else if (!forward && focus == first) {
        FocusField(last);
    } else {
        focusNextPrevChild(forward);
    }
}

void CReportEntryDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // As in any dialog, Enter on a focused button other than OK presses that button.
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button != nullptr && button != okButton_ && button->isVisible()) {
            button->click();
        } else {
            OnOK();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CReportEntryDlg::eventFilter(QObject* watched, QEvent* event) {
    if (closing_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Shortcut:
        // Alt-R, Alt-M and the rest act at once, without the button's animation, so nothing
        // typed right after them lands on the button.
        if (auto* button = qobject_cast<QPushButton*>(watched)) {
            if (!static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
                button->click();
                return true;
            }
        }
        break;
    case QEvent::FocusIn:
        if (watched == Field(EntryField::BooksOrPublications)) {
            remarkState = RemarkIdle;
        }
        break;
    case QEvent::FocusOut:
        if (!movesWithinDialog(event)) {
            break;
        }
        if (watched == Field(EntryField::Hours)) {
            LeaveHoursField();
        } else if (watched == remarkEdit_ && remarkEdit_->isVisible()) {
            LeaveRemarkEditor();
        } else if (watched == monthList_ && monthListShown) {
            CloseMonthList();
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void CReportEntryDlg::LeaveHoursField() {
    QLineEdit* hours = Field(EntryField::Hours);
    const std::string text = hours->text().toStdString();
    UpdateCreditHours(IntegerValue(text));
    const QString normalised = qs(NormaliseHoursText(text));
    if (normalised != hours->text()) {
        hours->setText(normalised);
    }
}

void CReportEntryDlg::OnOKButton() {
    if (okPressLeftEditor_) {
        okPressLeftEditor_ = false; // the click that closed the remark editor stores nothing
        return;
    }
    if (remarkEdit_->isVisible()) {
        OnOK(); // Alt-O while writing a remark leaves the editor, as Enter does
        return;
    }
    okButton_->setFocus(Qt::OtherFocusReason);
    OnOK();
}

void CReportEntryDlg::OnOK() {
    if (remarkState == RemarkClosing) {
        remarkState = RemarkIdle;
        return;
    }
    if (remarkState == RemarkOpen) {
        remarkState = RemarkClosing;
        UpdateCreditHours(HoursValue());
        recordCopy.creditHours[month] = creditHourCount;
        FocusField(Field(EntryField::BooksOrPublications));
        return;
    }
    QWidget* focus = focusWidget();
    if (focus != okButton_ && focus != Field(EntryField::BibleStudies)) {
        focusNextPrevChild(true); // Enter finishes a field and goes on, as Tab does
        return;
    }

    EntryTexts texts;
    for (const EntryField f : kEntryFields) {
        texts[EntryFieldIndex(f)] = Field(f)->text().toStdString();
    }
    const TakeOver taken = TakeOverFields(texts, newForm);
    if (!taken.ok) {
        owner_.messages().show(taken.message);
        FocusField(Field(taken.failedField));
        return;
    }
    values = taken.values;
    if (!StoreMonth()) {
        return;
    }
    CommitRecord();
    accept();
}

bool CReportEntryDlg::StoreMonth() {
    // Packs in the entry form and sets or clears the month's form bit to match.
    return zadw::StoreMonth(recordCopy, month, newForm, values, creditHourCount);
}

bool CReportEntryDlg::GroupReplaced() const { return owner_.group.generation() != generation_; }

void CReportEntryDlg::CommitRecord() {
    if (GroupReplaced()) {
        return;
    }
    GroupStore& store = owner_.store;
    if (ReportDiffers(recordCopy, store.record(publisher), month)) {
        changed = true;
    }
    if (changed) {
        store.record(publisher) = recordCopy;
        if (SetsLateFlag(changed, lateEntry, notCounted)) {
            store.setLateFlag(publisher, month);
        }
        owner_.lastEnteredName = store.displayName(publisher, false);
        // A report typed in is on disk at once, not only at exit.
        owner_.WriteBack();
    }
    owner_.UpdateStatus();
}

void CReportEntryDlg::OpenRemarkEditor() {
    remarkState = RemarkOpen;
    control(this, kChangeMonth)->hide();
    remarkEdit_->setText(qs(remarkText));
    remarkEdit_->show();
    remarkEdit_->setFocus(Qt::OtherFocusReason);
}

void CReportEntryDlg::LeaveRemarkEditor() {
    // A mouse press on OK took the focus from the editor: that click only closes the editor.
    okPressLeftEditor_ = QApplication::focusWidget() == okButton_;
    const QString typed = remarkEdit_->text();
    std::string bytes;
    std::string unmappable;
    if (!utf8ToCp1252(typed.toStdString(), bytes, &unmappable)) {
        RefuseRemark(typed, unmappable);
        return;
    }
    remarkEdit_->hide();
    control(this, kChangeMonth)->show();

    GroupStore& store = owner_.store;
    const std::string text = typed.left(kMaxRemarkChars).toStdString();
    const int linkBefore = store.record(publisher).remarkSlot[month];
    const bool blank = text.empty() || text[0] == ' ';
    bool stored = false;
    if (!blank) {
        if (remarkNumber == 0) {
            std::string unused;
            remarkNumber = store.getRemark(publisher, month, unused, false);
        }
        stored = store.setRemark(publisher, month, remarkNumber, text);
    } else {
        store.setRemark(publisher, month, remarkNumber, text); // clears the month's link
    }
    if (blank || stored) {
        if (text != remarkText) {
            changed = true;
        }
        remarkText = text;
    } else {
        // No slot to be had (the store has said so): the month keeps the remark it had.
        remarkNumber = 0;
    }
    recordCopy.remarkSlot[month] = store.record(publisher).remarkSlot[month];
    if (stored || store.record(publisher).remarkSlot[month] != linkBefore) {
        // Written once the focus has settled, even if the dialog has closed by then; the
        // opener owns the context, so the write goes with it.
        QObject* anchor = parentWidget() != nullptr ? static_cast<QObject*>(parentWidget()) : this;
        QTimer::singleShot(0, anchor, [context = &owner_, self = QPointer<CReportEntryDlg>(this),
                                     generation = generation_] {
            if (context->group.generation() != generation) {
                return;
            }
            context->WriteBack();
            if (self && context->group.generation() != generation) {
                self->reject(); // the group is the file's now; this publisher may be someone else
            }
        });
    }

    if (typed.trimmed().isEmpty()) {
        creditHourCount = 0;
    }
    UpdateCreditHours(HoursValue());
    OnOK();
}

void CReportEntryDlg::RefuseRemark(const QString& typed, const std::string& unmappable) {
    // The editor stays open with the text once the focus change that left it is over.
    QTimer::singleShot(0, this, [this, typed, unmappable] {
        if (closing_) {
            return;
        }
        owner_.messages().show(FormatText(LoadString(2005), unmappable));
        remarkState = RemarkOpen;
        control(this, kChangeMonth)->hide();
        remarkEdit_->setText(typed);
        remarkEdit_->show();
        remarkEdit_->setFocus(Qt::OtherFocusReason);
    });
}

void CReportEntryDlg::ShowMonthList() {
    monthListShown = true;
    monthList_->show();
    for (const int id : {kRemarks, kCreditText, kOk, kCancel, kChangeMonth, kGroupNumber}) {
        control(this, id)->hide();
    }
    auto* close = control<QPushButton>(this, kCloseMonthList);
    close->setDown(false);
    close->show();
    monthList_->setFocus(Qt::OtherFocusReason);
}

void CReportEntryDlg::SelectMonth() {
    const int row = monthList_->currentRow();
    if (row < 0 || row > 11) {
        return;
    }
    const GroupStore& store = owner_.store;
    month = row;
    newForm = NewFormForMonth(owner_.today.year(), owner_.today.month() - 1, month,
                              store.reportMonth, store.newFormActive);
    LoadMonth();
}

void CReportEntryDlg::CloseMonthList() {
    if (!monthListShown) {
        return; // the double-click and the focus leaving the list both come here
    }
    monthListShown = false;
    for (const int id : {kRemarks, kOk, kCancel, kChangeMonth, kGroupNumber}) {
        control(this, id)->show();
    }
    LoadMonth();
    // After the reload, so the first field's value is selected and typing replaces it.
    FocusField(Field(EntryField::BooksOrPublications));
    monthList_->hide();
    control(this, kCloseMonthList)->hide();
}

void CReportEntryDlg::done(int result) {
    closing_ = true; // the focus leaving the fields as the window goes is no edit
    QDialog::done(result);
}

} // namespace zadw
