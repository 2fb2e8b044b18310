// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Accessibility as a screen reader has it: on, and every event it would be told recorded. Only
// the platform can switch accessibility on, hence Qt's private header.

#include <QAccessible>
#include <QPointer>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <vector>

namespace zadw::test {

// What the program tells a screen reader while it lives: the accessibility events, in order, as
// the desktop's bridge would get them.
class AccessibleEvents {
public:
    struct Event {
        QPointer<QObject> object;
        QAccessible::Event type;
        int child;
    };
    AccessibleEvents() {
        instance() = this;
        previous_ = QAccessible::installUpdateHandler(&record);
        // As when a screen reader comes up: only then are events sent at all.
        setActive(true);
    }
    ~AccessibleEvents() {
        setActive(false);
        QAccessible::installUpdateHandler(previous_);
        instance() = nullptr;
    }
    AccessibleEvents(const AccessibleEvents&) = delete;
    AccessibleEvents& operator=(const AccessibleEvents&) = delete;

    std::vector<Event> events;
    // The last focus event: where a reader believes the keyboard is.
    const Event* lastFocus() const {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (it->type == QAccessible::Focus) {
                return &*it;
            }
        }
        return nullptr;
    }

private:
    static void setActive(bool active) {
        if (QPlatformAccessibility* platform =
                QGuiApplicationPrivate::platformIntegration()->accessibility()) {
            platform->setActive(active);
        }
    }
    static AccessibleEvents*& instance() {
        static AccessibleEvents* current = nullptr;
        return current;
    }
    static void record(QAccessibleEvent* event) {
        if (AccessibleEvents* self = instance()) {
            self->events.push_back({event->object(), event->type(), event->child()});
        }
    }
    QAccessible::UpdateHandler previous_ = nullptr;
};

} // namespace zadw::test
