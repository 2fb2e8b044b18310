// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace zadw {
namespace {

// List rows tall enough for the ring of Å and the dots of Ä and Ö.
class RoomyRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), ListRowHeight(option.font)));
        return size;
    }
};

} // namespace

QString ReadableText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r') {
            out += QStringLiteral("[CR]");
        } else if (u == u'\n') {
            out += QStringLiteral("[LF]");
        } else if (u == u'\t') {
            out += QStringLiteral("[TAB]");
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            out += QStringLiteral("[U+%1]")
                       .arg(static_cast<int>(u), 4, 16, QLatin1Char('0'))
                       .toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

QString NoMnemonic(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QStringList WithUniqueMnemonics(const QStringList& texts, QString taken) {
    QStringList out;
    for (const QString& text : texts) {
        qsizetype at = -1;
        const auto free = [&](qsizetype i) {
            return text[i].isLetterOrNumber() && !taken.contains(text[i].toLower());
        };
        for (qsizetype i = 0; i < text.size() && at < 0; ++i) {
            if ((i == 0 || text[i - 1].isSpace()) && free(i)) {
                at = i;
            }
        }
        for (qsizetype i = 0; i < text.size() && at < 0; ++i) {
            if (free(i)) {
                at = i;
            }
        }
        QString marked = NoMnemonic(text);
        if (at >= 0) {
            taken += text[at].toLower();
            // Every "&" before the letter was doubled.
            marked.insert(at + text.left(at).count(QLatin1Char('&')), QLatin1Char('&'));
        }
        out << marked;
    }
    return out;
}

void SetButtonText(QAbstractButton* button, const QString& text) {
    const QString readable = ReadableText(text);
    const QFontMetrics fm(button->font());
    const QStyle* style = button->style();
    // The frame and the margin the style keeps around a push button's caption, and a blank
    // either side so the caption never touches the frame.
    const int room = button->width() -
                     2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button) -
                     style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) -
                     2 * fm.horizontalAdvance(QLatin1Char(' '));
    QString shown = readable;
    if (fm.horizontalAdvance(readable) > room) {
        shown = fm.elidedText(readable, Qt::ElideMiddle, room);
        button->setToolTip(readable);
    } else {
        button->setToolTip(QString());
    }
    button->setText(NoMnemonic(shown));
    button->setAccessibleName(readable);
}

void SetLabelText(QLabel* label, const QString& text) {
    const QString readable = ReadableText(text);
    const QFontMetrics fm(label->font());
    const QRect room = label->contentsRect();
    bool fits = fm.horizontalAdvance(readable) <= room.width() && fm.height() <= room.height();
    if (!fits && label->wordWrap()) {
        const QRect wrapped = fm.boundingRect(QRect(0, 0, room.width(), 100000),
                                              Qt::TextWordWrap | label->alignment(), readable);
        fits = wrapped.width() <= room.width() && wrapped.height() <= room.height();
    }
    if (fits) {
        label->setText(readable);
        label->setToolTip(QString());
    } else {
        label->setText(fm.elidedText(readable, Qt::ElideMiddle, room.width()));
        label->setToolTip(readable);
    }
    label->setAccessibleName(readable);
}

int ListRowHeight(const QFont& font) {
    const QFontMetrics fm(font);
    const QRect tall = fm.boundingRect(QStringLiteral("ÅÄÖÉÜ gjpqy"));
    return std::max(fm.height(), tall.height()) + 4;
}

void UseRoomyRows(QAbstractItemView* view) {
    view->setItemDelegate(new RoomyRows(view));
}

} // namespace zadw
