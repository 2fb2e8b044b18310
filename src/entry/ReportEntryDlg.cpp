// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportEntryDlg.h"

#include "CodePage.h"
#include "RemarkRules.h"
#include "ReportRules.h"
#include "ScreenReader.h"
#include "Strings.h"
#include "TemplateBuilder.h"
#include "TemplateReportEntry.h"
#include "TextFit.h"
#include "YearOverviewCells.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace zadw {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The entry fields are numbered by their controls.
constexpr ReportEntryCtl controlOf(EntryField field) {
    return static_cast<ReportEntryCtl>(field);
}
static_assert(controlOf(EntryField::BooksOrPublications) == ReportEntryCtl::BooksOrPublications);
static_assert(controlOf(EntryField::BrochuresOrVideos) == ReportEntryCtl::BrochuresOrVideos);
static_assert(controlOf(EntryField::Hours) == ReportEntryCtl::Hours);
static_assert(controlOf(EntryField::Magazines) == ReportEntryCtl::Magazines);
static_assert(controlOf(EntryField::ReturnVisits) == ReportEntryCtl::ReturnVisits);
static_assert(controlOf(EntryField::BibleStudies) == ReportEntryCtl::BibleStudies);

// Each field's label stands 8 ids above it (147..153 over 139..145).
constexpr ReportEntryCtl labelOf(EntryField field) {
    return static_cast<ReportEntryCtl>(static_cast<int>(field) + 8);
}
static_assert(labelOf(EntryField::Magazines) == ReportEntryCtl::MagazinesLabel);
static_assert(labelOf(EntryField::BibleStudies) == ReportEntryCtl::BibleStudiesLabel);

// The month's category and the publisher's appointment in words, by their two-bit code; code 0
// (a publisher, no appointment) shows nothing.
using CodeTexts = StringId[3];
constexpr CodeTexts kCategoryText = {StringId::AuxiliaryPioneer, StringId::RegularPioneer,
                                     StringId::SpecialPioneer};
constexpr CodeTexts kAppointmentText = {StringId::MinisterialServant, StringId::Elder,
                                        StringId::BaptisedBrother};

std::string textOf(const CodeTexts& texts, int code) {
    return code == 0 ? std::string() : LoadString(texts[code - 1]);
}

// A focus change inside the dialog, not a menu or another window coming up over it.
bool movesWithinDialog(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

CReportEntryDlg::CReportEntryDlg(EntryContext& context, int publisher, QWidget* parent)
    : QDialog(parent), publisher(publisher), owner_(context),
      generation_(context.group.generation()) {
    // A caption but no system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildFromTemplate(this, TemplateId::ReportEntry);
    for (const EntryField id : kEntryFields) {
        CDigitEdit& digits = digitEdits_[EntryFieldIndex(id)];
        digits.Attach(control<QLineEdit>(this, controlOf(id)), id == EntryField::Hours);
        connect(&digits, &CDigitEdit::moveAcrossFields, this, &CReportEntryDlg::MoveAcrossFields);
        connect(&digits, &CDigitEdit::textRefused, this, [this, id] { RefuseText(id); });
        // Whichever field gets the focus ends a remark's closing.
        digits.edit()->installEventFilter(this);
    }
    remarkEdit_ = control<QLineEdit>(this, ReportEntryCtl::RemarkEdit);
    monthList_ = control<QListWidget>(this, ReportEntryCtl::MonthList);
    okButton_ = control<QPushButton>(this, ReportEntryCtl::Ok);

    // The remark slot holds 36 characters: the collector sees the limit while typing.
    remarkEdit_->setMaxLength(kMaxRemarkChars);

    connect(okButton_, &QPushButton::clicked, this, &CReportEntryDlg::OnOKButton);
    // A press on OK that the collector drags away from presses nothing, and closes no editor twice.
    connect(okButton_, &QPushButton::released, this,
            [this] { QTimer::singleShot(0, this, [this] { okPressLeftEditor_ = false; }); });
    connect(control<QPushButton>(this, ReportEntryCtl::Cancel), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(control<QPushButton>(this, ReportEntryCtl::Remarks), &QPushButton::clicked, this,
            &CReportEntryDlg::OpenRemarkEditor);
    connect(control<QPushButton>(this, ReportEntryCtl::ChangeMonth), &QPushButton::clicked, this,
            &CReportEntryDlg::ShowMonthList);
    connect(control<QPushButton>(this, ReportEntryCtl::CloseMonthList), &QPushButton::clicked, this,
            &CReportEntryDlg::CloseMonthList);
    connect(Field(EntryField::Hours), &QLineEdit::textChanged, this,
            &CReportEntryDlg::UpdateYearLine);
    connect(monthList_, &QListWidget::currentRowChanged, this, &CReportEntryDlg::SelectMonth);
    FollowSelection(monthList_);
    connect(monthList_, &QListWidget::itemDoubleClicked, this, &CReportEntryDlg::CloseMonthList);

    for (const ReportEntryCtl id : {ReportEntryCtl::RemarkEdit, ReportEntryCtl::MonthList}) {
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

bool CReportEntryDlg::IsEntryField(const QObject* object) const {
    return std::any_of(digitEdits_.begin(), digitEdits_.end(),
                       [object](const CDigitEdit& d) { return d.edit() == object; });
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
    SetLabelText(control<QLabel>(this, ReportEntryCtl::PublisherName), name);
    remarkEdit_->setAccessibleName(
        control<QPushButton>(this, ReportEntryCtl::Remarks)->text().remove(QLatin1Char('&')));

    {
        const QSignalBlocker block(monthList_);
        monthList_->clear();
        for (int m = 0; m < 12; ++m) {
            monthList_->addItem(qs(monthName(m)));
        }
    }
    monthList_->hide();
    control(this, ReportEntryCtl::CloseMonthList)->hide();
    remarkEdit_->hide();

    recordCopy = store.record(publisher);

    control<QPushButton>(this, ReportEntryCtl::ChangeMonth)
        ->setText(qs(LoadString(StringId::ChangeMonthButton)));
    monthList_->setAccessibleName(
        qs(LoadString(StringId::ChangeMonthButton)).remove(QLatin1Char('&')));

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
        const QString label = value == nullptr ? QString() : qs(LoadString(*value->label));
        control<QLabel>(this, labelOf(f))->setText(label);
        // A screen reader names each field by the label above it.
        Field(f)->setAccessibleName(label);
    }
    control<QLabel>(this, ReportEntryCtl::MonthName)->setText(qs(monthName(month)));

    const LoadedMonth loaded = LoadMonthValues(recordCopy, month, newForm);
    values = loaded.values;
    creditHourCount = loaded.creditHourCount;

    const MonthRemark remark = LookUpRemark(store, publisher, month);
    remarkNumber = remark.slot;
    remarkText = qs(remark.text).trimmed().toStdString();

    const EntryField hours = zadw::HoursValue(newForm).entry;
    UpdateCreditHours(values[hours]);

    for (const EntryField f : kEntryFields) {
        Field(f)->setText(f == hours ? qs(FormatHours(values[f], values.quarterCode))
                                     : QString::number(values[f]));
    }

    const int category = recordCopy.category(month);
    control<QLabel>(this, ReportEntryCtl::Category)->setText(qs(textOf(kCategoryText, category)));
    control<QLabel>(this, ReportEntryCtl::Appointment)
        ->setText(qs(textOf(kAppointmentText, recordCopy.appointment & 0x03)));
    control<QLabel>(this, ReportEntryCtl::GroupNumber)
        ->setText(qs(LoadString(StringId::Group)) + QLatin1Char(' ') +
                  QString::number(static_cast<std::int8_t>(recordCopy.groupNumber)));
    // The credit hours stand where the month list's button is while the list is open.
    control(this, ReportEntryCtl::CreditText)
        ->setVisible(category == kCategoryRegularPioneer && !monthListShown);

    UpdateWarning();
    UpdateYearLine();
}

void CReportEntryDlg::UpdateYearLine() {
    const GroupStore& store = owner_.store;
    const QDate& today = owner_.today;
    const int year = ReportMonthYear(today.year(), today.month() - 1, store.reportMonth);
    const int goal =
        owner_.regularPioneerGoal ? owner_.regularPioneerGoal() : kDefaultRegularPioneerGoal;
    const PublisherYear stored =
        ComputePublisherYear(store, publisher, store.reportMonth, year, goal);
    const ParsedHours typed = ParseHoursText(Field(EntryField::Hours)->text().toStdString());
    // A figure too large to store is refused at OK; here it only must not overflow.
    const int typedQuarters = std::min(typed.wholeHours, 0xFFFF) * 4 + typed.quarterCode;
    SetLabelText(control<QLabel>(this, ReportEntryCtl::YearLine),
                 qs(EntryYearLine(stored, ServiceYearOf(store.reportMonth, year), store.reportMonth,
                                  month, typedQuarters)));
}

void CReportEntryDlg::UpdateCreditHours(int h) {
    const CreditHours credit =
        zadw::UpdateCreditHours(h, recordCopy.category(month), creditHourCount, remarkText);
    creditHourCount = credit.creditHourCount;
    remarkText = credit.remarkText;
    control<QLabel>(this, ReportEntryCtl::CreditText)->setText(qs(credit.creditText));
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
    in.language = store.language;
    const Warning w = zadw::UpdateWarning(in);
    const QString text = qs(w.text);
    auto* panel = control<QLabel>(this, ReportEntryCtl::Warning);
    const bool newText = panel->text() != text;
    panel->setText(text);
    // The panel is what the dialog says about the report: a reader hears it with the dialog,
    // and where it changes, with the control the collector is on.
    setAccessibleDescription(text);
    if (newText && isVisible()) {
        Announce(text);
    }
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
    if (event->key() == Qt::Key_Escape && monthListShown) {
        CancelMonthList(); // the list was opened by mistake: nothing typed is lost
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        focusWidget() == monthList_ && monthListShown) {
        CloseMonthList(); // straight to the first field, never by way of the list's OK
        return;
    }
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
        if (watched == okButton_ || IsEntryField(watched)) {
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
            // The focus was on its way elsewhere when the list sent it to the first field.
            AnnounceFocusLater(this);
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
        FocusField(FieldAfterLastFilled());
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
    if (!ConfirmUnusualFigures(taken.values)) {
        return;
    }
    values = taken.values;
    if (!StoreMonth()) {
        return;
    }
    CommitRecord();
    accept();
}

QWidget* CReportEntryDlg::FieldAfterLastFilled() const {
    // Typing goes on where it left off, never over a figure already typed.
    QWidget* next = Field(EntryField::BooksOrPublications);
    for (const EntryField f : kEntryFields) {
        QLineEdit* field = Field(f);
        if (ValueOfField(f, newForm) == nullptr) {
            continue;
        }
        const QString text = field->text();
        const bool filled = std::any_of(text.begin(), text.end(), [](QChar c) {
            return c >= QLatin1Char('1') && c <= QLatin1Char('9');
        });
        if (filled) {
            next = nullptr; // the next shown field, or OK after the last
        } else if (next == nullptr) {
            next = field;
        }
    }
    return next != nullptr ? next : okButton_;
}

bool CReportEntryDlg::ConfirmUnusualFigures(const EntryValues& typed) {
    const GroupStore& store = owner_.store;
    std::vector<PastMonth> reported;
    for (int m = 0; m < 12; ++m) {
        if (m != month && store.isReported(publisher, m)) {
            const GroupRecord& stored = store.record(publisher);
            reported.push_back({LoadMonthValues(stored, m, newForm).values, stored.category(m)});
        }
    }
    const EntryValues before = LoadMonthValues(recordCopy, month, newForm).values;
    for (const UnusualFigure& u :
         UnusualFigures(typed, before, recordCopy.category(month), reported, newForm)) {
        const std::string question = FormatArgs(LoadString(StringId::UnusualFigureQuestion),
                                                {FieldName(u.field, newForm), u.typed, u.highest});
        if (owner_.messages().ask(question, MsgAnswer::No) != MsgAnswer::Yes) {
            FocusField(Field(u.field));
            return false;
        }
    }
    return true;
}

void CReportEntryDlg::RefuseText(EntryField field) {
    if (closing_) {
        return;
    }
    const std::string name = FieldName(field, newForm);
    owner_.messages().show(field == zadw::HoursValue(newForm).entry
                               ? HoursMessage(FieldMaximum(field, newForm), name)
                               : PositiveIntegerMessage(name));
    FocusField(Field(field));
}

bool CReportEntryDlg::StoreMonth() {
    // Packs in the entry form and sets or clears the month's form bit to match.
    return zadw::StoreMonth(recordCopy, month, newForm, values, creditHourCount);
}

bool CReportEntryDlg::GroupReplaced() const {
    return owner_.group.generation() != generation_;
}

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
    control(this, ReportEntryCtl::ChangeMonth)->hide();
    remarkEdit_->setText(qs(remarkText));
    remarkEdit_->show();
    remarkEdit_->setFocus(Qt::OtherFocusReason);
}

void CReportEntryDlg::LeaveRemarkEditor() {
    // A mouse press on OK took the focus from the editor: that click only closes the editor.
    // (When OK closed the editor itself, the focus may go on to OK for the next Enter.)
    okPressLeftEditor_ = remarkState == RemarkOpen && QApplication::focusWidget() == okButton_;
    const QString typed = remarkEdit_->text();
    std::string bytes;
    std::string unmappable;
    if (!utf8ToCp1252(typed.toStdString(), bytes, &unmappable)) {
        RefuseRemark(typed, unmappable);
        return;
    }
    remarkEdit_->hide();
    control(this, ReportEntryCtl::ChangeMonth)->show();

    GroupStore& store = owner_.store;
    const std::string text = typed.left(kMaxRemarkChars).toStdString();
    MonthRemark remark{remarkNumber, remarkText};
    const RemarkStored result = StoreRemark(store, publisher, month, remark, text);
    remarkNumber = remark.slot;
    remarkText = remark.text;
    if (result.changed) {
        changed = true;
    }
    recordCopy.remarkSlot[month] = store.record(publisher).remarkSlot[month];
    if (result.needsWrite) {
        // Written once the focus has settled, even if the dialog has closed by then; the
        // opener owns the context, so the write goes with it.
        QObject* anchor = parentWidget() != nullptr ? static_cast<QObject*>(parentWidget()) : this;
        QTimer::singleShot(
            0, anchor,
            [context = &owner_, self = QPointer<CReportEntryDlg>(this), generation = generation_] {
                if (context->group.generation() != generation) {
                    return;
                }
                context->WriteBack();
                if (self && context->group.generation() != generation) {
                    self->reject(); // the group is the file's now; this publisher may be someone
                                    // else
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
        owner_.messages().show(FormatText(LoadString(StringId::RemarkNotStorable), unmappable));
        remarkState = RemarkOpen;
        control(this, ReportEntryCtl::ChangeMonth)->hide();
        remarkEdit_->setText(typed);
        remarkEdit_->show();
        remarkEdit_->setFocus(Qt::OtherFocusReason);
    });
}

void CReportEntryDlg::ShowMonthList() {
    // Choosing a month reloads the figures; Escape brings back what was there before.
    beforeList_.month = month;
    beforeList_.newForm = newForm;
    beforeList_.values = values;
    beforeList_.creditHourCount = creditHourCount;
    beforeList_.remarkText = remarkText;
    beforeList_.remarkNumber = remarkNumber;
    for (const EntryField f : kEntryFields) {
        beforeList_.texts[EntryFieldIndex(f)] = Field(f)->text();
    }
    beforeList_.creditText = control<QLabel>(this, ReportEntryCtl::CreditText)->text();
    QWidget* focus = focusWidget();
    beforeList_.focus = IsEntryField(focus) ? focus : Field(EntryField::BooksOrPublications);
    monthListShown = true;
    monthList_->show();
    using enum ReportEntryCtl;
    for (const ReportEntryCtl id : {Remarks, CreditText, Ok, Cancel, ChangeMonth, GroupNumber}) {
        control(this, id)->hide();
    }
    auto* close = control<QPushButton>(this, ReportEntryCtl::CloseMonthList);
    close->setDown(false);
    close->show();
    {
        // Only the list on screen has a current month: a hidden one would be read out.
        const QSignalBlocker block(monthList_);
        monthList_->setCurrentRow(month);
    }
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
    using enum ReportEntryCtl;
    for (const ReportEntryCtl id : {Remarks, Ok, Cancel, ChangeMonth, GroupNumber}) {
        control(this, id)->show();
    }
    LoadMonth();
    // After the reload, so the first field's value is selected and typing replaces it.
    FocusField(Field(EntryField::BooksOrPublications));
    HideMonthList();
}

void CReportEntryDlg::HideMonthList() {
    monthList_->hide();
    control(this, ReportEntryCtl::CloseMonthList)->hide();
    const QSignalBlocker block(monthList_);
    monthList_->setCurrentRow(-1);
}

void CReportEntryDlg::CancelMonthList() {
    monthListShown = false;
    using enum ReportEntryCtl;
    for (const ReportEntryCtl id : {Remarks, Ok, Cancel, ChangeMonth, GroupNumber}) {
        control(this, id)->show();
    }
    month = beforeList_.month;
    newForm = beforeList_.newForm;
    LoadMonth(); // the month's labels, category and panel; its figures are replaced below
    values = beforeList_.values;
    creditHourCount = beforeList_.creditHourCount;
    remarkText = beforeList_.remarkText;
    remarkNumber = beforeList_.remarkNumber;
    for (const EntryField f : kEntryFields) {
        Field(f)->setText(beforeList_.texts[EntryFieldIndex(f)]);
    }
    control<QLabel>(this, ReportEntryCtl::CreditText)->setText(beforeList_.creditText);
    UpdateWarning();
    FocusField(beforeList_.focus != nullptr ? beforeList_.focus.data()
                                            : Field(EntryField::BooksOrPublications));
    HideMonthList();
}

void CReportEntryDlg::done(int result) {
    closing_ = true; // the focus leaving the fields as the window goes is no edit
    QDialog::done(result);
}

} // namespace zadw
