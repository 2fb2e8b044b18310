// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs, as the collector meets them under a Swedish locale, show no English: the file
// chooser, the print dialog with its options, its properties and page setup, and the message-box
// buttons. Run with ZADW_LIST_UNTRANSLATED=1 to list what Qt asked for and no catalogue had.
#include "Translations.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <cstdio>

namespace {

// Words of Qt's English dialogs that Swedish never uses.
const QSet<QString> kEnglishWords = {
    QStringLiteral("Look"),       QStringLiteral("Computer"),    QStringLiteral("unknown"),
    QStringLiteral("Name"),       QStringLiteral("Options"),     QStringLiteral("Copies"),
    QStringLiteral("Reverse"),    QStringLiteral("Print"),       QStringLiteral("Printer"),
    QStringLiteral("Properties"), QStringLiteral("Location"),    QStringLiteral("Type"),
    QStringLiteral("Size"),       QStringLiteral("Date"),        QStringLiteral("Modified"),
    QStringLiteral("Files"),      QStringLiteral("File"),        QStringLiteral("Open"),
    QStringLiteral("Cancel"),     QStringLiteral("Back"),        QStringLiteral("Forward"),
    QStringLiteral("Parent"),     QStringLiteral("Directory"),   QStringLiteral("Folder"),
    QStringLiteral("Detail"),     QStringLiteral("View"),        QStringLiteral("List"),
    QStringLiteral("Collate"),    QStringLiteral("Orientation"), QStringLiteral("Portrait"),
    QStringLiteral("Landscape"),  QStringLiteral("Duplex"),      QStringLiteral("Color"),
    QStringLiteral("Grayscale"),  QStringLiteral("Margins"),     QStringLiteral("Paper"),
    QStringLiteral("Page"),       QStringLiteral("Pages"),       QStringLiteral("Source"),
    QStringLiteral("Yes"),        QStringLiteral("No"),          QStringLiteral("Close"),
    QStringLiteral("Save"),       QStringLiteral("Help"),        QStringLiteral("Apply"),
    QStringLiteral("Output"),     QStringLiteral("Settings"),    QStringLiteral("Advanced"),
    QStringLiteral("Range"),      QStringLiteral("Current"),     QStringLiteral("Selection"),
    QStringLiteral("Copies"),     QStringLiteral("Ordering"),    QStringLiteral("Top"),
    QStringLiteral("Bottom"),     QStringLiteral("Left"),        QStringLiteral("Right"),
    QStringLiteral("Units"),      QStringLiteral("Custom"),      QStringLiteral("Width"),
    QStringLiteral("Height"),     QStringLiteral("Long"),        QStringLiteral("Short"),
    QStringLiteral("side"),       QStringLiteral("edge"),        QStringLiteral("Millimeters"),
    QStringLiteral("Points"),     QStringLiteral("Inches"),      QStringLiteral("Comment"),
    QStringLiteral("Local"),      QStringLiteral("Sheet"),       QStringLiteral("sheet"),
    QStringLiteral("Pages"),      QStringLiteral("Abort"),       QStringLiteral("Retry"),
    QStringLiteral("Ignore"),     QStringLiteral("Discard"),     QStringLiteral("Job"),
    QStringLiteral("Even"),       QStringLiteral("Odd"),
};

// Asked last: records every text no catalogue had.
class Recorder : public QTranslator {
public:
    mutable QSet<QString> missing;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*,
                      int) const override {
        if (sourceText != nullptr && *sourceText != '\0') {
            missing.insert(QString::fromUtf8(context) + QStringLiteral(" | ") +
                           QString::fromUtf8(sourceText));
        }
        return {};
    }
};

QStringList visibleTexts(QWidget* root) {
    QStringList out{root->windowTitle()};
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(root)) {
            continue;
        }
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            out << b->text();
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            out << l->text();
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            out << g->title();
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < c->count(); ++i) {
                out << c->itemText(i);
            }
        } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < t->count(); ++i) {
                out << t->tabText(i);
            }
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            out << e->placeholderText();
        } else if (auto* v = qobject_cast<QAbstractItemView*>(w); v != nullptr && v->model()) {
            const QAbstractItemModel* m = v->model();
            for (int c = 0; c < m->columnCount(v->rootIndex()); ++c) {
                out << m->headerData(c, Qt::Horizontal).toString();
            }
            for (int r = 0; r < m->rowCount(v->rootIndex()); ++r) {
                out << m->index(r, 0, v->rootIndex()).data().toString();
            }
        }
    }
    return out;
}

// The English words among texts, with the text each stands in.
QStringList englishIn(const QStringList& texts) {
    static const QRegularExpression words(QStringLiteral("[^\\p{L}]+"));
    QStringList found;
    for (const QString& text : texts) {
        for (const QString& word : QString(text).remove(QLatin1Char('&')).split(words)) {
            if (kEnglishWords.contains(word)) {
                found << word + QStringLiteral(" in \"") + text + QLatin1Char('"');
            }
        }
    }
    found.removeDuplicates();
    return found;
}

} // namespace

class QtDialogLanguageTest : public QObject {
    Q_OBJECT

    Recorder recorder_;

private slots:
    void initTestCase() {
        QCoreApplication::installTranslator(&recorder_);
        QVERIFY(zadw::installTranslations(*QCoreApplication::instance(), "sv"));
    }

    void cleanupTestCase() {
        if (qEnvironmentVariableIsSet("ZADW_LIST_UNTRANSLATED")) {
            QStringList all(recorder_.missing.begin(), recorder_.missing.end());
            all.sort();
            for (const QString& line : all) {
                std::fprintf(stderr, "untranslated: %s\n", qPrintable(line));
            }
        }
    }

    void fileChooser() {
        QTemporaryDir folder;
        QFileDialog dialog(nullptr, QStringLiteral("Välj"), folder.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(QStringLiteral("Grupp (*.z08 *.Z08)"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::qWait(200); // the folder model fills in from a thread
        const QStringList english = englishIn(visibleTexts(&dialog));
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral("; "))));
    }

    // The print dialog with its options shown, then its properties dialog, whose first tab is
    // the page setup.
    void printDialogAndProperties() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(QDir::temp().filePath(QStringLiteral("zadw-lang.pdf")));
        QPrintDialog dialog(&printer);
        dialog.setOptions(QAbstractPrintDialog::PrintToFile |
                          QAbstractPrintDialog::PrintShowPageSize);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStringList texts = visibleTexts(&dialog);

        QPushButton* options = nullptr; // "Options >>", by its arrows: it has no name
        for (auto* b : dialog.findChildren<QPushButton*>()) {
            if (b->text().endsWith(QStringLiteral(">>"))) {
                options = b;
            }
        }
        QVERIFY(options != nullptr);
        options->click();
        texts << visibleTexts(&dialog);

        auto* properties = dialog.findChild<QPushButton*>(QStringLiteral("properties"));
        QVERIFY(properties != nullptr);
        QVERIFY(properties->isEnabled());
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            if (auto* modal = QApplication::activeModalWidget(); modal != &dialog && modal) {
                seen = true;
                texts << visibleTexts(modal);
                // Every tab, the page setup among them.
                if (auto* tabs = modal->findChild<QTabWidget*>()) {
                    for (int i = 0; i < tabs->count(); ++i) {
                        tabs->setCurrentIndex(i);
                        texts << visibleTexts(modal);
                    }
                }
                modal->close();
            }
        });
        properties->click();
        QVERIFY(seen);
        dialog.close();
        const QStringList english = englishIn(texts);
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral("; "))));
    }

    void messageBoxButtons() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("zadw"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QStringList english = englishIn(visibleTexts(&box));
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(QtDialogLanguageTest)
#include "QtDialogLanguageTest.moc"
