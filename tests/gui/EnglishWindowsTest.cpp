// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the report-entry dialog under English: English texts, each in full within
// its control; and every window's Alt keys, in both languages. ZADW_GRAB_DIR=folder saves
// pictures of both to look at.
#include "ReportEntryTestSupport.h"

#include "AboutDlg.h"
#include "MissingReportsDlg.h"
#include "SendUpdates.h"
#include "SummaryPreviewDlg.h"
#include "YearCardDlg.h"
#include "YearOverviewDlg.h"

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

// The letter after a single "&", lower case; none where the text has none.
QChar altKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] != QLatin1Char('&')) {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

// The Alt keys that more than one control shown in the window answers to.
QStringList sharedAltKeys(QWidget* window) {
    QMap<QChar, QStringList> owners;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) {
            continue;
        }
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            text = g->title();
        } else if (auto* l = qobject_cast<QLabel*>(w); l != nullptr && l->buddy() != nullptr) {
            text = l->text();
        }
        if (const QChar key = altKey(text); !key.isNull()) {
            owners[key] << text;
        }
    }
    QStringList shared;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
        if (it.value().size() > 1) {
            shared << QStringLiteral("Alt+%1: %2")
                          .arg(it.key(), it.value().join(QStringLiteral(", ")));
        }
    }
    return shared;
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

    // Every window in either language: no Alt key is answered by two controls at once.
    void everyWindowHasItsOwnAltKeys_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("Swedish") << QString::fromStdString(kSwedish);
        QTest::newRow("English") << QStringLiteral("en");
    }
    void everyWindowHasItsOwnAltKeys() {
        QFETCH(QString, language);
        QVERIFY(SetLanguage(language.toStdString()));
        const auto back = qScopeGuard([] { SetLanguage("en"); });
        GroupRecord anna = person("Anna", "Berg");
        setTextField(anna, TextField::Phone1, "08-123 45 67", nullptr);
        setTextField(anna, TextField::Phone2, "070-765 43 21", nullptr);
        setTextField(anna, TextField::Email, "anna@example.se", nullptr);
        desk_.save(kReportMonth, {anna, pioneer("Bertil", "Lind")});
        CReportEntryDlg& entry = desk_.open(1);
        QStringList shared;
        const auto check = [&shared](QWidget* window, const QString& name) {
            for (const QString& s : sharedAltKeys(window)) {
                shared << name + QStringLiteral(": ") + s;
            }
        };
        check(desk_.main.get(), QStringLiteral("main window"));
        check(&entry, QStringLiteral("report"));
        alt(Qt::Key_M);
        check(&entry, QStringLiteral("month list"));
        press(Qt::Key_Escape);
        alt(Qt::Key_R);
        check(&entry, QStringLiteral("remark"));
        GroupStore& store = desk_.main->groupFile().store;
        {
            CSummaryPreviewDlg preview(store, desk_.desk->messages, nullptr, kReportMonth,
                                       desk_.main.get());
            preview.show();
            check(&preview, QStringLiteral("preview"));
        }
        {
            CMissingReportsDlg chase(store, desk_.desk->services(), desk_.main.get());
            chase.show();
            check(&chase, QStringLiteral("missing reports"));
        }
        {
            CAboutDlg about(desk_.main.get());
            about.show();
            check(&about, QStringLiteral("About"));
        }
        {
            CYearOverviewDlg year(store, desk_.desk->services(), 2026, kDefaultRegularPioneerGoal,
                                  desk_.main.get());
            year.show();
            check(&year, QStringLiteral("year overview"));
            CYearCardDlg card(store, year.overview().publishers.front(),
                              year.overview().serviceYear, &year);
            card.show();
            check(&card, QStringLiteral("year card"));
        }
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join(QStringLiteral("; "))));
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
