// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace zadw {

// Picks one existing file, or where a new one goes. An empty result means the user cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual QString chooseExistingFile(QWidget* owner, const QString& title,
                                       const QString& filterName, const QStringList& patterns,
                                       const QString& initialFolder) = 0;
    // initialPath names the folder and the name offered; the first pattern's extension is added
    // to a name typed without one. A chooser that cannot save offers nothing.
    virtual QString chooseSaveFile(QWidget* /*owner*/, const QString& /*title*/,
                                   const QString& /*filterName*/, const QStringList& /*patterns*/,
                                   const QString& /*initialPath*/) {
        return {};
    }
};

} // namespace zadw
