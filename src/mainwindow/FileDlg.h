// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileChooser.h"

#include <QFileDialog>

namespace zadw {

// The file-open dialog for the secretary's group files.
class CFileDlg : public QFileDialog {
    Q_OBJECT

public:
    using QFileDialog::QFileDialog;
};

// Picks files with CFileDlg.
class CFileDlgChooser : public FileChooser {
public:
    QString chooseExistingFile(QWidget* owner, const QString& title, const QString& filterName,
                               const QStringList& patterns, const QString& initialFolder) override;
    QString chooseSaveFile(QWidget* owner, const QString& title, const QString& filterName,
                           const QStringList& patterns, const QString& initialPath) override;
};

} // namespace zadw
