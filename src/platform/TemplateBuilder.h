// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a window from its dialog template: every control placed in dialog units, named by its
// id, in tab order.

#include "DialogTemplates.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace zadw {

// Dialog units of a font: x·w/4 and y·h/8 pixels.
struct DialogUnits {
    int charWidth = 0;
    int charHeight = 0;
    int x(int du) const { return du * charWidth / 4; }
    int y(int du) const { return du * charHeight / 8; }
};
DialogUnits dialogUnitsFor(const QFont& font);

// The font for labels that the design draws in the variable-pitch font.
QFont variablePitchFont();

// Creates the controls of template id inside dialog, sizes the dialog and sets its caption.
void buildFromTemplate(QWidget* dialog, TemplateId id);

// The objectName of the control with that id: its decimal number.
template <ControlIdEnum E> QString controlName(E id) {
    return QString::number(idOf(id));
}

// Logs that dialog has no control of that id and type: an assertion in debug builds. Returns
// the name of the stand-in control() hands out instead.
QString missingControl(const QWidget* dialog, int id, const char* type);

// The control with that id. One the dialog lacks, or of another type, is a program error: a
// release build logs it and gets a hidden stand-in of the type asked for, so a typo cannot crash.
template <class T = QWidget, ControlIdEnum E> T* control(const QWidget* dialog, E id) {
    if (T* found = dialog->findChild<T*>(controlName(id))) {
        return found;
    }
    const QString standInName = missingControl(dialog, idOf(id), T::staticMetaObject.className());
    if (T* standIn = dialog->findChild<T*>(standInName, Qt::FindDirectChildrenOnly)) {
        return standIn;
    }
    // Parented to the dialog, so it goes with it.
    auto* standIn = new T(const_cast<QWidget*>(dialog));
    standIn->setObjectName(standInName);
    standIn->hide();
    return standIn;
}

} // namespace zadw
