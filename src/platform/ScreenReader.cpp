// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenReader.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zadw {
namespace {

// Puts a control's own description back when the focus leaves it.
class DescriptionRestorer : public QObject {
    Q_OBJECT

public:
    DescriptionRestorer(QWidget* control, QString own) : QObject(control), own_(std::move(own)) {
        control->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            auto* control = static_cast<QWidget*>(watched);
            control->removeEventFilter(this);
            control->setAccessibleDescription(own_);
            spent_ = true; // an announcement before it is gone starts afresh
            deleteLater();
        }
        return false;
    }
    const QString& own() const { return own_; }
    bool spent() const { return spent_; }

private:
    QString own_;
    bool spent_ = false;
};

} // namespace

void FollowSelection(QAbstractItemView* view) {
    QItemSelectionModel* model = view->selectionModel();
    QObject::connect(
        model, &QItemSelectionModel::selectionChanged, view,
        [model](const QItemSelection& selected, const QItemSelection&) {
            const QModelIndex current = model->currentIndex();
            if (!selected.isEmpty()) {
                const QModelIndex chosen = selected.indexes().constFirst().siblingAtColumn(0);
                const bool onlyChosen =
                    model->selectedRows().size() == 1 || model->selectedIndexes().size() == 1;
                if (chosen != current.siblingAtColumn(0) || !onlyChosen) {
                    model->setCurrentIndex(chosen, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
                }
            } else if (!model->hasSelection() && current.isValid()) {
                model->select(current, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        });
}

void Announce(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    // Once the focus has settled: the text belongs with where the keyboard ends up.
    QTimer::singleShot(0, qApp, [text] {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr) {
            return;
        }
        DescriptionRestorer* restorer = nullptr;
        for (auto* r : focused->findChildren<DescriptionRestorer*>(Qt::FindDirectChildrenOnly)) {
            restorer = r->spent() ? restorer : r;
        }
        if (restorer == nullptr) {
            restorer = new DescriptionRestorer(focused, focused->accessibleDescription());
        }
        // The same text twice in a row is no change, and a reader would not say it again.
        if (focused->accessibleDescription() == text) {
            focused->setAccessibleDescription(restorer->own());
        }
        focused->setAccessibleDescription(text);
    });
}

void AnnounceFocusLater(QWidget* window) {
    QTimer::singleShot(0, window, [window = QPointer<QWidget>(window)] {
        QWidget* focused = window != nullptr ? window->focusWidget() : nullptr;
        if (focused != nullptr && focused->hasFocus()) {
            QAccessibleEvent event(focused, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
    });
}

} // namespace zadw

#include "ScreenReader.moc"
