// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

namespace zadw {

// Makes Qt's own texts (standard buttons, the file chooser, the print dialogs) speak the program's
// language: for Swedish the project's catalogue over Debian's; for English Qt's own texts. Also
// sets the default locale, so dates and numbers in Qt's dialogs match. False when a catalogue the
// language needs is missing.
bool installTranslations(QCoreApplication& app, const std::string& language);
inline bool installSwedishTranslations(QCoreApplication& app) {
    return installTranslations(app, "sv");
}

} // namespace zadw
