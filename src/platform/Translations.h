#pragma once

#include <QCoreApplication>

namespace zadw {

// Installs the toolkit's Swedish texts, so standard buttons read "Ja", "Nej", "Avbryt".
// False when no Swedish catalogue is installed.
bool installSwedishTranslations(QCoreApplication& app);

} // namespace zadw
