// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A count field of the report entry: it takes digits and the point only (the hours field also
// the comma), a blank resets it to a selected 0, and the left and right arrows move to the
// neighbouring field instead of the caret.

#include <QObject>

class QKeyEvent;
class QLineEdit;

namespace zadw {

class CDigitEdit : public QObject {
    Q_OBJECT

public:
    CDigitEdit() = default;

    // Takes over an edit that already stands in the dialog: from now on it sees every key and
    // every piece of text meant for that edit first. The hours field takes the comma as the point.
    void Attach(QLineEdit* edit, bool hours = false);
    QLineEdit* edit() const { return edit_; }

signals:
    // Right arrow (true) or left arrow (false); the dialog decides where the focus goes.
    void moveAcrossFields(bool forward);
    // Text pasted or dropped in held more than digits and separators and was refused whole;
    // sent once the edit is done with it.
    void textRefused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnChar(const QKeyEvent& key); // true: the edit's own handling runs
    void ResetToZero();

    QLineEdit* edit_ = nullptr;
    bool hours_ = false;
    bool refusalPending_ = false;
};

} // namespace zadw
