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
    const bool question = message.buttons == MsgButtons::YesNo;
    // A dialog open above the owner owns the box, as a modal message box would be on top.
    QWidget* parent =
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : owner_.data();
    QMessageBox box(qicon, title(), QString::fromStdString(message.text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (question) {
        box.setDefaultButton(message.defaultAnswer == MsgAnswer::No ? QMessageBox::No
                                                                    : QMessageBox::Yes);
    }
    for (const MsgAction& action : message.actions) {
        // Action buttons do their work and leave the box open: a click on them must not close it.
        QPushButton* button =
            box.addButton(QString::fromStdString(action.label), QMessageBox::ActionRole);
        button->disconnect();
        const std::function<void()> run = action.run;
        QObject::connect(button, &QPushButton::clicked, &box, [run] {
            if (run) {
                run();
            }
        });
    }
    const int result = box.exec();
    if (question) {
        return result == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    return MsgAnswer::Ok;
}

} // namespace zadw
