// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a window from its dialog template: every control placed in dialog units, named by its
// id, in tab order.

#include "DialogTemplates.h"

#include <QFont>
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
void buildFromTemplate(QWidget* dialog, int id);

// The control with that id (its objectName), or nullptr.
template <class T = QWidget> T* control(const QWidget* dialog, int id) {
    return dialog->findChild<T*>(QString::number(id));
}

} // namespace zadw
