// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutDlg.h"

#include "TemplateAbout.h"
#include "TemplateBuilder.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace zadw {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    buildFromTemplate(this, TemplateId::About);
    if (auto* icon = findChild<QLabel*>(QStringLiteral("icon"))) {
        icon->setPixmap(QIcon(QStringLiteral(":/zadw/icon.svg")).pixmap(icon->size()));
    }
    connect(control<QPushButton>(this, AboutCtl::Ok), &QPushButton::clicked, this,
            &QDialog::accept);
}

} // namespace zadw
