// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts from the group file on buttons and labels: shown as they stand ("&" is no mnemonic, a line
// break is spelled out), and shortened in the middle when the control has no room, the whole
// text then in the tooltip and for screen readers.

#include <QString>
#include <QStringList>

class QAbstractButton;
class QAbstractItemView;
class QFont;
class QLabel;

namespace zadw {

// Control characters spelled out as the address checks spell them: "[CR]", "[LF]", "[TAB]",
// "[U+001B]".
QString ReadableText(const QString& text);

// "&" doubled, so that a button shows it instead of underlining the next letter.
QString NoMnemonic(const QString& text);

// The texts with an Alt key each, none twice, and none of taken (lower case letters): the first
// letter of a word where it is free (the text's first word first), else any free letter. A
// text with no free letter gets none.
QStringList WithUniqueMnemonics(const QStringList& texts, QString taken = {});

// Sets the button's caption to text (readable, no mnemonic), shortened in the middle with "…"
// when it does not fit; the accessible name is always the whole text.
void SetButtonText(QAbstractButton* button, const QString& text);

// Sets a label's text (readable). A label that wraps shows the whole text on as many lines as
// its height holds; what still does not fit is shortened in the middle, the whole text in the
// tooltip. The accessible name is always the whole text.
void SetLabelText(QLabel* label, const QString& text);

// The height a list row needs for the font's tallest letters (Å, Ä, Ö) and deepest (g, j, y).
int ListRowHeight(const QFont& font);
// The view's rows get that height at least.
void UseRoomyRows(QAbstractItemView* view);

} // namespace zadw
