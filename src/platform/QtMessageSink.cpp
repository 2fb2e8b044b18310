// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtMessageSink.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace zadw {

QString QtMessageSink::title() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

MsgAnswer QtMessageSink::present(const Message& message) {
    QMessageBox::Icon qicon = QMessageBox::Warning;
    if (message.icon == MsgIcon::Information) {
        qicon = QMessageBox::Information;
    } else if (message.icon == MsgIcon::Question) {
        qicon = QMessageBox::Question;
    }
    const bool question = message.buttons != MsgButtons::Ok;
    const bool cancel = message.buttons == MsgButtons::YesNoCancel;
    // A dialog open above the owner owns the box, as a modal message box would be on top.
    QWidget* parent =
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : owner_.data();
    QMessageBox box(qicon, title(), QString::fromStdString(message.text),
                    !question ? QMessageBox::Ok
                    : cancel  ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                              : QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    if (question) {
        box.setDefaultButton(message.defaultAnswer == MsgAnswer::No       ? QMessageBox::No
                             : message.defaultAnswer == MsgAnswer::Cancel ? QMessageBox::Cancel
                                                                          : QMessageBox::Yes);
    }
    for (const MsgAction& action : message.actions) {
        // Action buttons do their work and leave the box open: a click on them must not close it.
        QPushButton* button =
            box.addButton(QString::fromStdString(action.label), QMessageBox::ActionRole);
        button->disconnect();
        const std::function<void()> run = action.run;
        const bool closes = action.closes;
        QObject::connect(button, &QPushButton::clicked, &box, [run, closes, &box] {
            if (run) {
                run();
            }
            if (closes) {
                box.done(QMessageBox::Ok);
            }
        });
    }
    const int result = box.exec();
    if (question) {
        return result == QMessageBox::Yes  ? MsgAnswer::Yes
               : result == QMessageBox::No ? MsgAnswer::No
               : cancel                    ? MsgAnswer::Cancel
                                           : MsgAnswer::No;
    }
    return MsgAnswer::Ok;
}

} // namespace zadw
