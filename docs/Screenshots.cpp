// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-screenshots GROUP.z08 OUTDIR [SUFFIX]: the README's pictures of the windows, drawn offscreen
// with a fixed font so that they come out the same on every machine. Works on a copy of the group.
// With a SUFFIX (say "-scale2", run under QT_SCALE_FACTOR=2) the pictures are the clipping check:
// the longest names the file can hold, "&" and a line break in an address, and the About box.

#include "AboutDlg.h"
#include "FileChooser.h"
#include "MessageSink.h"
#include "MissingReportsDlg.h"
#include "ReportEntryDlg.h"
#include "ReportsDlg.h"
#include "Services.h"
#include "SettingsProfile.h"
#include "SummaryPreviewDlg.h"
#include "Translations.h"
#include "YearCardDlg.h"
#include "YearOverviewDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

using namespace zadw;

// Nothing should ask anything while the pictures are taken; if something does, it is shown here.
class PrintingSink : public MessageSink {
public:
    MsgAnswer present(const Message& message) override {
        std::fprintf(stderr, "zadw-screenshots: message: %s\n", message.text.c_str());
        return MsgAnswer::Ok;
    }
};

class NoFileChooser : public FileChooser {
public:
    QString chooseExistingFile(QWidget*, const QString&, const QString&, const QStringList&,
                               const QString&) override {
        return {};
    }
};

QString suffix;

bool save(QWidget& window, const QString& folder, const char* name) {
    QApplication::processEvents();
    QString file = QString::fromLatin1(name);
    file.insert(file.lastIndexOf(QLatin1Char('.')), suffix);
    const QString path = QDir(folder).filePath(file);
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "zadw-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool shown(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowExposed(&window) &&
           QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; });
}

void typeInto(const QString& text) {
    QTest::keyClicks(QApplication::focusWidget(), text);
}
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// A publisher whose report is missing and who has a number, so that the dial and reminder
// buttons show; the one with the most numbers, the first of those on the list.
int welcomingLine(CReportsDlg& main) {
    int best = 0;
    int bestScore = -1;
    for (int line = 0; line < main.publisherListBox()->count(); ++line) {
        const Contacts c = main.groupFile().store.collectPhones(main.PublisherOnLine(line));
        const int score = c.reminderAddress.empty() ? c.count : 10 + c.count;
        if (score > bestScore) {
            best = line;
            bestScore = score;
        }
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s GROUP.z08 OUTDIR [SUFFIX]\n", argv[0]);
        return 2;
    }
    installSwedishTranslations(app);
    const bool check = argc == 4;
    if (check) {
        suffix = QString::fromLocal8Bit(argv[3]);
    }
    // The same face and size everywhere (fonts-dejavu-core), whatever the desktop would choose;
    // ZADW_SHOT_FONT ("Liberation Sans,9") tries another.
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    const QStringList asked = qEnvironmentVariable("ZADW_SHOT_FONT").split(QLatin1Char(','));
    if (asked.size() == 2) {
        font = QFont(asked[0], asked[1].toInt());
    }
    QApplication::setFont(font);

    QTemporaryDir scratch;
    const QString group = scratch.filePath(QStringLiteral("grupp4.z08"));
    if (!scratch.isValid() || !QFile::copy(QString::fromLocal8Bit(argv[1]), group)) {
        std::fprintf(stderr, "zadw-screenshots: cannot copy %s\n", argv[1]);
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    PrintingSink messages;
    NoFileChooser files;
    IniProfile profile(scratch.filePath(QStringLiteral("zadw.ini")));
    Services services;
    services.messages = &messages;
    services.files = &files;
    services.profile = &profile;
    services.clock = [] { return std::time(nullptr); };
    // The pictures leave no backups or state behind in the user's folders.
    services.backupFolder = scratch.filePath(QStringLiteral("backups")).toStdString();
    services.stateFolder = scratch.filePath(QStringLiteral("state")).toStdString();

    // A day in December: the report month is November.
    CReportsDlg main(services, StartupInfo{group, QDate(2026, 12, 8), {}});
    if (main.groupFile().store.publisherCount == 0) {
        std::fprintf(stderr, "zadw-screenshots: %s did not load\n", argv[1]);
        return 1;
    }
    const int line = welcomingLine(main);
    if (check) {
        GroupRecord& rec = main.groupFile().store.record(main.PublisherOnLine(line));
        setTextField(rec, TextField::FirstName, "Karl-Gustav Mårten A", nullptr);
        setTextField(rec, TextField::LastName, "Östergren-Wallenius", nullptr);
        setTextField(rec, TextField::Email, "tom&jerry.wallenius-\r\nostergren@example.org",
                     nullptr);
        main.entryContext().lastEnteredName =
            main.groupFile().store.displayName(main.PublisherOnLine(line), false);
        main.RefreshList();
        main.UpdateStatus();
    }
    main.publisherListBox()->setCurrentRow(line);
    bool ok = shown(main) && save(main, out, "main-window.png");

    {
        CReportEntryDlg entry(main.entryContext(), main.PublisherOnLine(main.publisherListBox()->currentRow()), &main);
        ok = shown(entry) && ok;
        for (const char* field : {"6", "2", "11.5", "4"}) {
            typeInto(QString::fromLatin1(field));
            press(Qt::Key_Return);
        }
        typeInto(QStringLiteral("1"));
        ok = save(entry, out, "report-entry.png") && ok;
        press(Qt::Key_M, Qt::AltModifier);
        ok = entry.monthListShown && save(entry, out, "report-entry-months.png") && ok;
    }

    {
        GroupStore& store = main.groupFile().store;
        CSummaryPreviewDlg preview(store, messages, nullptr, store.reportMonth, &main);
        ok = shown(preview) && save(preview, out, "summary-preview.png") && ok;
    }
    {
        CMissingReportsDlg missing(main.groupFile().store, services, &main);
        ok = shown(missing) && save(missing, out, "missing-reports.png") && ok;
    }
    {
        // The year up to November 2026, Berg's line current: a regular pioneer's progress.
        GroupStore& store = main.groupFile().store;
        CYearOverviewDlg year(store, services, ReportMonthYear(2026, 11, store.reportMonth),
                              kDefaultRegularPioneerGoal, &main);
        year.table()->setCurrentCell(1, 0);
        // Wide enough for every month; a desktop screen has the room the offscreen one lacks.
        year.resize(year.table()->horizontalHeader()->length() + 60, 680);
        ok = shown(year) && save(year, out, "year-overview.png") && ok;
        CYearCardDlg card(store, year.overview().publishers[1], year.overview().serviceYear, &year);
        card.resize(card.table()->verticalHeader()->sizeHint().width() +
                        card.table()->horizontalHeader()->length() + 60,
                    card.height());
        ok = shown(card) && save(card, out, "year-card.png") && ok;
    }
    if (check) {
        CAboutDlg about(&main);
        ok = shown(about) && save(about, out, "about.png") && ok;
    }
    // The main window goes without ExitProgram: the copy of the group stays as it was.
    return ok ? 0 : 1;
}
