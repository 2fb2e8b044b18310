// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigitEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <functional>
#include <utility>

namespace zadw {
namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool isDigitOrPoint(QChar c) {
    return isDigit(c) || c == QLatin1Char('.');
}
// Typed in the hours field, the comma (the keypad's decimal key in Swedish) is the point.
bool isHoursChar(QChar c) {
    return isDigitOrPoint(c) || c == QLatin1Char(',');
}

// Keys are filtered before they reach the edit; this catches what arrives another way (paste,
// drag and drop, input methods). A text holding anything but digits and separators is refused
// whole rather than trimmed, so "-5" never turns silently into a different number, and the
// field says why. A separator in a count field is left to the check at OK, which names it.
class DigitsOnly : public QValidator {
public:
    DigitsOnly(QLineEdit* edit, std::function<void()> refused)
        : QValidator(edit), refused_(std::move(refused)) {}
    State validate(QString& input, int&) const override {
        if (std::all_of(input.begin(), input.end(), isHoursChar)) {
            return Acceptable;
        }
        refused_();
        return Invalid;
    }

private:
    std::function<void()> refused_;
};

} // namespace

void CDigitEdit::Attach(QLineEdit* edit, bool hours) {
    if (edit_ != nullptr) {
        edit_->removeEventFilter(this);
    }
    edit_ = edit;
    hours_ = hours;
    if (edit_ != nullptr) {
        edit_->setValidator(new DigitsOnly(edit_, [this] {
            // Once, after the edit has undone the change; the message box must not open inside
            // the edit's own handling.
            if (!refusalPending_) {
                refusalPending_ = true;
                QTimer::singleShot(0, this, [this] {
                    refusalPending_ = false;
                    emit textRefused();
                });
            }
        }));
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
    // Anything else is dropped without a sound.
    return std::all_of(text.begin(), text.end(), hours_ ? isHoursChar : isDigitOrPoint);
}

// The field holds a selected 0, so the next digit typed replaces it.
void CDigitEdit::ResetToZero() {
    edit_->selectAll();
    edit_->insert(QStringLiteral("0"));
    edit_->selectAll();
}

} // namespace zadw
