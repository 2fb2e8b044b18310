// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDlg.h"

namespace zadw {

QString CFileDlgChooser::chooseExistingFile(QWidget* owner, const QString& title,
                                            const QString& filterName, const QStringList& patterns,
                                            const QString& initialFolder) {
    CFileDlg dialog(owner, title, initialFolder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Upper- and lower-case extensions alike: file names are case-sensitive here.
    dialog.setNameFilter(filterName + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                         QLatin1Char(')'));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString CFileDlgChooser::chooseSaveFile(QWidget* owner, const QString& title,
                                        const QString& filterName, const QStringList& patterns,
                                        const QString& initialPath) {
    CFileDlg dialog(owner, title);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before a file is replaced
    dialog.setNameFilter(filterName + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                         QLatin1Char(')'));
    if (!patterns.isEmpty()) {
        dialog.setDefaultSuffix(patterns.constFirst().section(QLatin1Char('.'), -1));
    }
    dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace zadw
