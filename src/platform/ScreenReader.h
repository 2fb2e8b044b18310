// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader needs beyond the controls' names: one selection in a list, and texts
// that change spoken where the collector is. Qt 6.4 has neither an accessible selection
// interface nor an announcement call, so both are made from what it has.

#include <QString>

class QAbstractItemView;
class QWidget;

namespace zadw {

// A reader or voice control selects an item without making it current (the item's "Toggle"),
// or clears the selection. Either way the view's current item follows the one selected, and a
// selection cleared from outside goes back to the current item: what is selected, what is
// current and what the window acts on are always the same line.
void FollowSelection(QAbstractItemView* view);

// Says text through the focused control, once the focus changes under way are over: the text
// becomes that control's accessible description, which a reader speaks when it changes, until
// the focus leaves it; then the control's own description comes back.
void Announce(const QString& text);

// Tells a reader the focus again where the keyboard really is, once the focus changes of this
// event are over (a control that took the focus may have passed it on at once).
void AnnounceFocusLater(QWidget* window);

} // namespace zadw
