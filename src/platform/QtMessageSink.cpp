#include "QtMessageSink.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace zadw {

QString QtMessageSink::title() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

MsgAnswer QtMessageSink::show(const std::string& text, MsgButtons buttons, MsgIcon icon) {
    QMessageBox::Icon qicon = QMessageBox::Warning;
    if (icon == MsgIcon::Information) {
        qicon = QMessageBox::Information;
    } else if (icon == MsgIcon::Question) {
        qicon = QMessageBox::Question;
    }
    // A dialog open above the owner owns the box, as a modal message box would be on top.
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : owner_.data();
    QMessageBox box(qicon, title(), QString::fromStdString(text),
                    buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    parent);
    box.setTextFormat(Qt::PlainText);
    const int result = box.exec();
    if (buttons == MsgButtons::YesNo) {
        return result == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    return MsgAnswer::Ok;
}

} // namespace zadw
