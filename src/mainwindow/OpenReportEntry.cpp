// Opens the report entry for one publisher.
#include "ReportsDlg.h"

#include "TemplateBuilder.h"

#include <QPushButton>

namespace zadw {

void CReportsDlg::RunReportEntry(int pub) {
    // Until the report entry is built, its window only closes again.
    QDialog entry(this);
    entry.setObjectName(QStringLiteral("reportEntry"));
    buildFromTemplate(&entry, 107);
    entry.setWindowTitle(QString::fromStdString(store.displayName(pub, false)));
    QObject::connect(control<QPushButton>(&entry, 1), &QPushButton::clicked, &entry, &QDialog::accept);
    QObject::connect(control<QPushButton>(&entry, 2), &QPushButton::clicked, &entry, &QDialog::reject);
    entry.exec();
}

} // namespace zadw
