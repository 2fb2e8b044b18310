// zadw-screenshots GROUP.z08 OUTDIR: the README's pictures of the windows, drawn offscreen with a
// fixed font so that they come out the same on every machine. Works on a copy of the group.

#include "FileChooser.h"
#include "MessageSink.h"
#include "ReportEntryDlg.h"
#include "ReportsDlg.h"
#include "Services.h"
#include "SettingsProfile.h"
#include "SummaryPreviewDlg.h"
#include "Translations.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
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

bool save(QWidget& window, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
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
    for (int line = 0; line < main.publisherList->count(); ++line) {
        const Contacts c = main.store.collectPhones(main.PublisherOnLine(line));
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s GROUP.z08 OUTDIR\n", argv[0]);
        return 2;
    }
    installSwedishTranslations(app);
    // The same face and size everywhere (fonts-dejavu-core), whatever the desktop would choose.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));

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

    // A day in December: the report month is November.
    CReportsDlg main(services, StartupInfo{group, QDate(2026, 12, 8), {}});
    if (main.store.publisherCount == 0) {
        std::fprintf(stderr, "zadw-screenshots: %s did not load\n", argv[1]);
        return 1;
    }
    main.publisherList->setCurrentRow(welcomingLine(main));
    bool ok = shown(main) && save(main, out, "main-window.png");

    {
        CReportEntryDlg entry(main.entryContext(), main.PublisherOnLine(main.publisherList->currentRow()), &main);
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
        CSummaryPreviewDlg preview(main.store, messages, nullptr, main.store.reportMonth, &main);
        ok = shown(preview) && save(preview, out, "summary-preview.png") && ok;
    }
    // The main window goes without ExitProgram: the copy of the group stays as it was.
    return ok ? 0 : 1;
}
