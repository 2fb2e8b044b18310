// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the report-entry dialog under English: English texts, each in full within
// its control. ZADW_GRAB_DIR=folder saves pictures of both to look at.
#include "ReportEntryTestSupport.h"
#include "SendUpdates.h"

#include <QCheckBox>
#include <QGroupBox>

using namespace zadw;
using namespace zadw::test;

namespace {

QString plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

// The visible controls whose text does not fit them.
QStringList clipped(QWidget* root) {
    QStringList out;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root)) {
            continue;
        }
        const QFontMetrics fm(w->font());
        QString text;
        int room = 0;
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            text = plain(b->text());
            room = b->width() - 6; // the button's frame
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            text = plain(c->text());
            room = c->width() - c->iconSize().width() - 8; // the box and its gap
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            text = g->title();
            room = g->width() - 8;
        } else if (auto* l = qobject_cast<QLabel*>(w); l != nullptr && !l->text().isEmpty()) {
            const QRect need = fm.boundingRect(QRect(0, 0, l->width(), 10000),
                                               Qt::TextWordWrap | int(l->alignment()), l->text());
            if (need.height() > l->height() + 1) {
                out << QStringLiteral("%1 \"%2\": %3 of %4 px high")
                           .arg(w->objectName(), l->text())
                           .arg(need.height())
                           .arg(l->height());
            }
            continue;
        } else {
            continue;
        }
        if (fm.horizontalAdvance(text) > room) {
            out << QStringLiteral("%1 \"%2\": %3 of %4 px wide")
                       .arg(w->objectName(), text)
                       .arg(fm.horizontalAdvance(text))
                       .arg(room);
        }
    }
    return out;
}

void grab(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("ZADW_GRAB_DIR");
    if (!dir.isEmpty()) {
        w->grab().save(dir + QLatin1Char('/') + name);
    }
}

} // namespace

class EnglishWindowsTest : public QObject {
    Q_OBJECT

    EntryDesk desk_;

private slots:
    void initTestCase() { QVERIFY(SetLanguage("en")); }
    void cleanupTestCase() {
        desk_.close();
        SetLanguage(kSwedish);
    }

    void mainWindowIsEnglishAndUnclipped() {
        desk_.save(kReportMonth,
                   {person("Anna", "Berg"), pioneer("Bertil", "Lind"), person("Cecilia", "Holm")});
        CReportsDlg& main = desk_.openMain();
        QCOMPARE(main.windowTitle(), QStringLiteral("Collecting reports for November - Group 3 "));
        QCOMPARE(control<QPushButton>(&main, ReportsCtl::LoadNewList)->text(),
                 QStringLiteral("Load new list from the secretary"));
        QCOMPARE(control<QPushButton>(&main, ReportsCtl::ExitProgram)->text(),
                 QStringLiteral("Exit program"));
        QVERIFY(desk_.mainText(ReportsCtl::PublisherCount)
                    .startsWith(QStringLiteral("Total publishers = ")));
        grab(&main, QStringLiteral("main-window-en.png"));
        const QStringList bad = clipped(&main);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QStringLiteral("; "))));
    }

    void reportEntryIsEnglishAndUnclipped() {
        desk_.save(kReportMonth, {person("Anna", "Berg"), pioneer("Bertil", "Lind")});
        CReportEntryDlg& entry = desk_.open(2);
        QCOMPARE(desk_.text(ReportEntryCtl::Cancel), QStringLiteral("&Cancel"));
        QCOMPARE(desk_.text(ReportEntryCtl::Remarks), QStringLiteral("&Remarks"));
        QVERIFY(desk_.text(ReportEntryCtl::ChangeMonth).contains(QStringLiteral("late report")));
        QCOMPARE(desk_.labels(), (QStringList{QStringLiteral("Publ."), QStringLiteral("Videos"),
                                              QStringLiteral("Hours"), QStringLiteral("R.v."),
                                              QStringLiteral("Bib.st.")}));
        grab(&entry, QStringLiteral("report-entry-en.png"));
        const QStringList bad = clipped(&entry);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QStringLiteral("; "))));
    }

    // The secretary's side reads the update mail: it stays Swedish; the reminder does not.
    void updateMailStaysSwedish() {
        QCOMPARE(QString::fromStdString(updateSubject(2, 4)),
                 QStringLiteral("Sammanställningsfil - mars - Grupp 4"));
        QCOMPARE(QString::fromStdString(updateText(2, 4)),
                 QStringLiteral("mars .z18-fil för Grupp 4"));
        QCOMPARE(QString::fromStdString(reminderText(2)),
                 QStringLiteral("Please send in your report for March. \nThank you."));
    }
};

QTEST_MAIN(EnglishWindowsTest)
#include "EnglishWindowsTest.moc"
