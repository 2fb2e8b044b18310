// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtMessageSink.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace zadw {
namespace {

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        break;
    }
    return QMessageBox::Warning;
}

QStyle::StandardPixmap iconPixmap(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QStyle::SP_MessageBoxInformation;
    case MsgIcon::Question:
        return QStyle::SP_MessageBoxQuestion;
    case MsgIcon::Exclamation:
        break;
    }
    return QStyle::SP_MessageBoxWarning;
}

void addActions(const Message& message, const std::function<QPushButton*(const QString&)>& add) {
    for (const MsgAction& action : message.actions) {
        // Action buttons do their work and leave the box open: a click on them must not close it.
        QPushButton* button = add(QString::fromStdString(action.label));
        button->disconnect();
        const std::function<void()> run = action.run;
        QWidget* box = button->window();
        const bool closes = action.closes;
        QObject::connect(button, &QPushButton::clicked, button, [run, closes, box] {
            if (run) {
                run();
            }
            if (closes) {
                if (auto* dialog = qobject_cast<QDialog*>(box)) {
                    dialog->done(QMessageBox::Ok);
                }
            }
        });
    }
}

// What a message box would need for the text, at the width it gives a long one.
bool tallerThanTheScreen(const QString& text, const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return false;
    }
    const QRect room = screen->availableGeometry();
    const QFontMetrics fm(QApplication::font("QMessageBoxLabel"));
    const int width = std::min(room.width() / 2, 60 * fm.averageCharWidth());
    const int height =
        fm.boundingRect(QRect(0, 0, width, 1 << 24), Qt::TextWordWrap, text).height();
    // The title, the buttons and the margins take about six lines of their own.
    return height + 6 * fm.height() > room.height();
}

// A long text in a box no taller than the screen: the text scrolls, and it takes the focus so
// that the arrow keys, or a reader, go through it line by line.
std::unique_ptr<QDialog> scrollingBox(const Message& message, QWidget* parent) {
    auto box = std::make_unique<QDialog>(parent);
    box->setWindowTitle(QtMessageSink::title());
    auto* icon = new QLabel(box.get());
    const int extent = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box.get());
    icon->setPixmap(box->style()->standardIcon(iconPixmap(message.icon)).pixmap(extent));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QPlainTextEdit(QString::fromStdString(message.text), box.get());
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    text->setFrameShape(QFrame::NoFrame);
    text->setBackgroundVisible(false);
    text->setAccessibleName(box->windowTitle());
    QPalette transparent = text->palette();
    transparent.setColor(QPalette::Base, box->palette().color(QPalette::Window));
    text->setPalette(transparent);

    const bool question = message.buttons != MsgButtons::Ok;
    auto* buttons = new QDialogButtonBox(!question ? QDialogButtonBox::Ok
                                         : message.buttons == MsgButtons::YesNoCancel
                                             ? QDialogButtonBox::Yes | QDialogButtonBox::No |
                                                   QDialogButtonBox::Cancel
                                             : QDialogButtonBox::Yes | QDialogButtonBox::No,
                                         box.get());
    QDialog* dialog = box.get();
    QObject::connect(buttons, &QDialogButtonBox::clicked, dialog,
                     [dialog, buttons](QAbstractButton* clicked) {
                         const auto which = buttons->standardButton(clicked);
                         if (which != QDialogButtonBox::NoButton) {
                             dialog->done(static_cast<int>(which));
                         }
                     });
    QPushButton* preferred =
        buttons->button(!question                                    ? QDialogButtonBox::Ok
                        : message.defaultAnswer == MsgAnswer::No     ? QDialogButtonBox::No
                        : message.defaultAnswer == MsgAnswer::Cancel ? QDialogButtonBox::Cancel
                                                                     : QDialogButtonBox::Yes);
    preferred->setDefault(true);
    addActions(message, [buttons](const QString& label) {
        return buttons->addButton(label, QDialogButtonBox::ActionRole);
    });

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(row, 1);
    layout->addWidget(buttons);

    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen->availableGeometry();
    const QFontMetrics fm(text->font());
    const int title = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog);
    dialog->resize(std::min(room.width() - 2 * title, 64 * fm.averageCharWidth() + extent),
                   room.height() - 3 * title);
    text->setFocus(Qt::OtherFocusReason);
    return box;
}

} // namespace

QString QtMessageSink::title() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

std::unique_ptr<QDialog> QtMessageSink::makeBox(const Message& message, QWidget* parent) {
    const QString text = QString::fromStdString(message.text);
    if (tallerThanTheScreen(text, parent)) {
        return scrollingBox(message, parent);
    }
    const bool question = message.buttons != MsgButtons::Ok;
    auto box =
        std::make_unique<QMessageBox>(boxIcon(message.icon), title(), text,
                                      !question ? QMessageBox::Ok
                                      : message.buttons == MsgButtons::YesNoCancel
                                          ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                          : QMessageBox::Yes | QMessageBox::No,
                                      parent);
    box->setTextFormat(Qt::PlainText);
    if (question) {
        box->setDefaultButton(message.defaultAnswer == MsgAnswer::No       ? QMessageBox::No
                              : message.defaultAnswer == MsgAnswer::Cancel ? QMessageBox::Cancel
                                                                           : QMessageBox::Yes);
    }
    QMessageBox* raw = box.get();
    addActions(message, [raw](const QString& label) {
        return raw->addButton(label, QMessageBox::ActionRole);
    });
    return box;
}

MsgAnswer QtMessageSink::present(const Message& message) {
    // A dialog open above the owner owns the box, as a modal message box would be on top.
    QWidget* parent =
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : owner_.data();
    const std::unique_ptr<QDialog> box = makeBox(message, parent);
    const int result = box->exec();
    // The scrolling box ends with the button boxes' values, which are the message box's.
    if (message.buttons == MsgButtons::YesNoCancel) {
        return result == QMessageBox::Yes  ? MsgAnswer::Yes
               : result == QMessageBox::No ? MsgAnswer::No
                                           : MsgAnswer::Cancel;
    }
    if (message.buttons == MsgButtons::YesNo) {
        return result == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    return MsgAnswer::Ok;
}

} // namespace zadw
