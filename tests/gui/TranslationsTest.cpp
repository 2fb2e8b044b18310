// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's own buttons speak Swedish, as the program's texts tell the collector to "Klicka
// Ja".
#include "Translations.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void standardButtonsAreSwedish() {
        QVERIFY(zadw::installSwedishTranslations(*QCoreApplication::instance()));
        QMessageBox box(QMessageBox::Question, QStringLiteral("zadw"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nej"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Avbryt"));
    }
};

QTEST_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
