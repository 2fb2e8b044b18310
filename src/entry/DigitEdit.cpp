// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigitEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace zadw {
namespace {

bool isDigitOrPoint(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
}

bool onlyDigitsAndPoints(const QString& text) {
    return std::all_of(text.begin(), text.end(), isDigitOrPoint);
}

// Keys are filtered before they reach the edit; this catches what arrives another way (paste,
// drag and drop, input methods). A text holding anything else is refused whole rather than
// trimmed, so "-5" or "1,5" never turn silently into a different number.
class DigitsOnly : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return onlyDigitsAndPoints(input) ? Acceptable : Invalid;
    }
};

} // namespace

void CDigitEdit::Attach(QLineEdit* edit) {
    if (edit_ != nullptr) {
        edit_->removeEventFilter(this);
    }
    edit_ = edit;
    if (edit_ != nullptr) {
        edit_->setValidator(new DigitsOnly(edit_));
        edit_->installEventFilter(this);
    }
}

bool CDigitEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) {
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Right || key.key() == Qt::Key_Left) {
            emit moveAcrossFields(key.key() == Qt::Key_Right);
            return true;
        }
        return !OnChar(key);
    }
    if (event->type() == QEvent::InputMethod) {
        const auto& input = static_cast<const QInputMethodEvent&>(*event);
        if (input.commitString() == QLatin1String(" ")) {
            ResetToZero();
            return true;
        }
    }
    return false;
}

bool CDigitEdit::OnChar(const QKeyEvent& key) {
    // Editing shortcuts (copy, paste, undo, select all) keep their meaning; what they insert
    // still has to pass the validator.
    if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return true;
    }
    const QString text = key.text();
    // Backspace, Delete, Home, End and the like; Enter, Tab and Escape go on to the dialog.
    if (text.isEmpty() || !text.at(0).isPrint()) {
        return true;
    }
    if (text == QLatin1String(" ")) {
        ResetToZero();
        return false;
    }
    return onlyDigitsAndPoints(text); // anything else is dropped without a sound
}

// The field holds a selected 0, so the next digit typed replaces it.
void CDigitEdit::ResetToZero() {
    edit_->selectAll();
    edit_->insert(QStringLiteral("0"));
    edit_->selectAll();
}

} // namespace zadw
