// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageSink.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace zadw {

// Message boxes titled with the program file's name, owned by the window that is open.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    MsgAnswer present(const Message& message) override;

    static QString title();

    // The box present() runs, not yet shown: a message box, or for a text taller than the screen
    // has room for, a box of the same kind whose text scrolls. Its result is the button's
    // QMessageBox::StandardButton.
    static std::unique_ptr<QDialog> makeBox(const Message& message, QWidget* parent);

private:
    QPointer<QWidget> owner_;
};

} // namespace zadw
