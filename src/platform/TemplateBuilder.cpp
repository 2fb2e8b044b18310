// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemplateBuilder.h"

#include "Strings.h"
#include "TextFit.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cassert>

namespace zadw {

DialogUnits dialogUnitsFor(const QFont& font) {
    const QFontMetrics fm(font);
    const int letters = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, fm.height()};
}

QFont variablePitchFont() {
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

namespace {

QWidget* makeControl(const ControlTemplate& c, QWidget* parent) {
    const QString text = QString::fromStdString(TranslateTemplateText(c.text));
    switch (c.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* b = new QPushButton(text, parent);
        // A focused button is the default while it has the focus, so Enter presses the button
        // the collector sees focused; elsewhere Enter presses the template's default button.
        b->setAutoDefault(true);
        b->setDefault(c.kind == ControlKind::DefPushButton);
        return b;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::GroupBox: {
        auto* g = new QGroupBox(text, parent);
        g->setFocusPolicy(Qt::NoFocus);
        return g;
    }
    case ControlKind::EtchedFrame: {
        auto* f = new QFrame(parent);
        f->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return f;
    }
    case ControlKind::Static:
    case ControlKind::StaticCenter: {
        auto* l = new QLabel(text, parent);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment((c.kind == ControlKind::StaticCenter ? Qt::AlignHCenter : Qt::AlignLeft) |
                        Qt::AlignTop);
        l->setWordWrap(true);
        return l;
    }
    case ControlKind::Edit:
        return new QLineEdit(text, parent);
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setUniformItemSizes(true);
        UseRoomyRows(list);
        list->setTextElideMode(Qt::ElideMiddle);
        return list;
    }
    case ControlKind::Icon: {
        auto* l = new QLabel(parent);
        l->setObjectName(QStringLiteral("icon"));
        return l;
    }
    }
    return new QWidget(parent);
}

} // namespace

QString missingControl(const QWidget* dialog, int id, const char* type) {
    qCritical("%s has no %s with control id %d", dialog->metaObject()->className(), type, id);
    assert(false && "control id missing from the dialog's template");
    return QStringLiteral("missing control %1").arg(id);
}

void buildFromTemplate(QWidget* dialog, TemplateId id) {
    const DialogTemplate& t = dialogTemplate(id);
    const DialogUnits du = dialogUnitsFor(dialog->font());
    dialog->setWindowTitle(QString::fromStdString(TranslateTemplateText(t.caption)));
    dialog->setFixedSize(du.x(t.w), du.y(t.h));
    std::vector<QWidget*> backdrops;
    for (std::size_t i = 0; i < t.count; ++i) {
        const ControlTemplate& c = t.controls[i];
        QWidget* w = makeControl(c, dialog);
        if (c.id.named()) {
            w->setObjectName(QString::number(c.id.value()));
        }
        w->setGeometry(du.x(c.x), du.y(c.y), du.x(c.w), du.y(c.h));
        if ((c.style & kVariableFont) != 0) {
            w->setFont(variablePitchFont());
        }
        if ((c.style & kNoTabStop) != 0) {
            w->setFocusPolicy(Qt::NoFocus);
        }
        w->setVisible((c.style & kHidden) == 0);
        if (c.kind == ControlKind::GroupBox || c.kind == ControlKind::EtchedFrame) {
            backdrops.push_back(w);
        }
    }
    // Frames stand behind the controls they frame.
    for (QWidget* w : backdrops) {
        w->lower();
    }
}

} // namespace zadw
