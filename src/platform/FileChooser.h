// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace zadw {

// Picks one existing file. An empty result means the user cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual QString chooseExistingFile(QWidget* owner, const QString& title,
                                       const QString& filterName, const QStringList& patterns,
                                       const QString& initialFolder) = 0;
};

} // namespace zadw
