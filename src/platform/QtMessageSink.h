// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageSink.h"

#include <QPointer>
#include <QWidget>

namespace zadw {

// Message boxes titled with the program file's name, owned by the window that is open.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    MsgAnswer present(const Message& message) override;

    static QString title();

private:
    QPointer<QWidget> owner_;
};

} // namespace zadw
