// SPDX-License-Identifier: GPL-3.0-or-later
// One group file, several hands on it: a second zadw on the same file, locks left behind or held
// on another machine, and a file replaced, damaged, read-only or linked under an open window.
// The lock and the hand-over run with real zadw processes; the rest drives the window itself.
#include "GuiTestSupport.h"

#include "AtomicFile.h"
#include "GroupFileLocks.h"
#include "Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace zadw;
using namespace zadw::test;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<PublisherSpec> fourPeople() {
    return {
        {"Olle", "Öberg", "08-123 45 67", "", "", "olle@example.se", 0},
        {"Anna", "Berg", "12345", "070-111 22 33", "", "", 5},
        {"Åsa", "Ek", "", "", "", "asa@example", 0},
        {"Bo", "Ahl", "08-1", "", "", "bo@example.se", 0},
    };
}

// The secretary's next list: another group, other people.
std::string newListBytes(const ScratchDir& dir) {
    const std::string path = dir.file("secretary-list.z08");
    writeGroup(path, 9, 7, {{"Ny", "Ett", "", "", "", "", 0}, {"Ny", "Två", "", "", "", "", 0}});
    return readFile(path);
}
const QStringList kNewListLines{QStringLiteral("Ett, Ny"), QStringLiteral("Två, Ny")};

QStringList lines(CReportsDlg& dlg) {
    QStringList out;
    for (int i = 0; i < dlg.publisherListBox()->count(); ++i) {
        out << dlg.publisherListBox()->item(i)->text();
    }
    return out;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}

bool sameFileState(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_mode == b.st_mode;
}

// Copies the bytes over the file as `cp` does (same inode), dated an hour back.
void replaceOnDisk(const std::string& path, const std::string& bytes) {
    writeFile(path, bytes);
    const timespec times[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// The hours of the group's second publisher in the report month, as the file holds them.
int hoursInFile(const std::string& path) {
    RecordingSink sink;
    GroupStore store(sink);
    store.loadGroupFile(path);
    return store.publisherCount >= 2 ? int(store.record(2).hours[10]) : -1;
}

// Backup copies whose names match pattern exactly, full paths, oldest name first.
QStringList copiesIn(const QString& folder, const QString& pattern) {
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    QStringList out;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        if (re.match(name).hasMatch()) {
            out << folder + QLatin1Char('/') + name;
        }
    }
    return out;
}

const QString kStamp = QStringLiteral("\\d{8}-\\d{6}");

bool waitUntil(const std::function<bool()>& ready, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!ready()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
}

QString userName() {
    const passwd* pw = ::getpwuid(::getuid());
    return pw != nullptr ? QString::fromLocal8Bit(pw->pw_name) : QString::number(::getuid());
}

// A desktop session of its own for real zadw processes: home, data, runtime and temporary
// folders (the hand-over socket lives in the runtime one) inside the scratch folder.
class Session {
public:
    explicit Session(const ScratchDir& dir) : root_(qs(dir.path().string())) {
        for (const char* sub : {"home", "data", "run", "tmp"}) {
            QDir().mkpath(root_ + QLatin1Char('/') + QLatin1String(sub));
        }
        QFile::setPermissions(root_ + QStringLiteral("/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~Session() {
        for (auto& p : processes_) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }
    QString backups() const { return root_ + QStringLiteral("/data/zadw/backups"); }

    // exitWhenShown: the window closes right after its first paint, past its own exit.
    QProcess* start(const std::string& file, bool exitWhenShown, const QString& folder = {}) {
        auto p = std::make_unique<QProcess>();
        if (!folder.isEmpty()) {
            p->setWorkingDirectory(folder);
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root_ + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), root_ + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root_ + QStringLiteral("/home/.config"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root_ + QStringLiteral("/run"));
        env.insert(QStringLiteral("TMPDIR"), root_ + QStringLiteral("/tmp"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("ZADW_BENCH_EXIT_WHEN_SHOWN"));
        if (exitWhenShown) {
            env.insert(QStringLiteral("ZADW_BENCH_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
        }
        p->setProcessEnvironment(env);
        p->setProgram(QStringLiteral(ZADW_BINARY));
        p->setArguments({QFile::decodeName(QByteArray::fromStdString(file))});
        p->start();
        p->waitForStarted(5000);
        processes_.push_back(std::move(p));
        return processes_.back().get();
    }

private:
    QString root_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

// For as long as it lives, a root test runs with the rights of "nobody" (root's rights come
// back at the end); anyone else runs as themselves.
class AsAnotherUser {
public:
    static bool possible() { return ::geteuid() != 0 || ::getpwnam("nobody") != nullptr; }
    AsAnotherUser() {
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            dropped_ = nobody != nullptr && ::setresuid(nobody->pw_uid, nobody->pw_uid, 0) == 0;
            ok_ = dropped_;
        }
    }
    ~AsAnotherUser() {
        if (dropped_ && ::setresuid(0, 0, 0) != 0) {
            std::abort(); // the other cases would run without their rights
        }
    }
    bool ok() const { return ok_; }
    AsAnotherUser(const AsAnotherUser&) = delete;
    AsAnotherUser& operator=(const AsAnotherUser&) = delete;

private:
    bool dropped_ = false;
    bool ok_ = true;
};

bool endedCleanly(QProcess* p) {
    if (!p->waitForFinished(10000)) {
        qWarning("zadw did not end: %s", p->readAllStandardError().constData());
        return false;
    }
    return p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
}

} // namespace

class GroupFileProcessTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchDir> dir;
    std::string groupPath;
    QString backups;

private slots:
    void init() {
        dir = std::make_unique<ScratchDir>();
        groupPath = dir->file("Grupp.z08");
        writeGroup(groupPath, 10, 4, fourPeople());
        // Each case keeps its backup copies apart; the window reads this when it is made.
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir->file("data")));
        backups = qs(dir->file("data/zadw/backups"));
    }
    void cleanup() {
        QDir::setCurrent(QDir::rootPath());
        dir.reset();
    }

    // A file opened from the file manager while zadw has it goes to the running window; the
    // second start exits without touching the file.
    void secondStartHandsOverAndTouchesNothing_data() {
        QTest::addColumn<bool>("inItsFolder"); // the second start runs in the file's folder
        QTest::addColumn<QString>("argument"); // "" for the first start's path
        QTest::newRow("same path") << false << QString();
        QTest::newRow("relative") << true << QStringLiteral("Grupp.z08");
        QTest::newRow("through a linked folder") << false << QStringLiteral("lank/Grupp.z08");
    }
    void secondStartHandsOverAndTouchesNothing() {
        QFETCH(bool, inItsFolder);
        QFETCH(QString, argument);
        QCOMPARE(::symlink(dir->path().c_str(), dir->file("lank").c_str()), 0);
        std::string secondPath = groupPath;
        if (!argument.isEmpty()) {
            secondPath = inItsFolder ? argument.toStdString() : dir->file(argument.toStdString());
        }
        Session session(*dir);
        QProcess* first = session.start(groupPath, false);
        // The running window has read the file once its load copy is there.
        QVERIFY(waitUntil([&] { return !copiesIn(session.backups(), ".*").isEmpty(); }, 10000));
        const std::string before = readFile(groupPath);
        const struct stat stBefore = statOf(groupPath);

        QProcess* second =
            session.start(secondPath, false, inItsFolder ? qs(dir->path().string()) : QString());
        QVERIFY(endedCleanly(second));
        QCOMPARE(first->state(), QProcess::Running); // the first window keeps the file
        QCOMPARE(readFile(groupPath), before);
        QVERIFY(sameFileState(statOf(groupPath), stBefore));
        QCOMPARE(copiesIn(session.backups(), ".*").size(), 1);

        // The first window dies: its lock is left behind, and the next start takes it over.
        first->kill();
        QVERIFY(first->waitForFinished(5000));
        const QString lock = GroupFileLocks::lockPathFor(canonicalPath(groupPath), true);
        QVERIFY(QFile::exists(lock));
        QDir(session.backups()).removeRecursively();
        QProcess* third = session.start(groupPath, true);
        QVERIFY(endedCleanly(third));
        QCOMPARE(copiesIn(session.backups(), ".*").size(), 1); // it read the file
        QVERIFY(!QFile::exists(lock));                         // and let go of it at exit
        QCOMPARE(readFile(groupPath), before);
    }

    void staleLockDoesNotKeepTheFileClosed_data() {
        QTest::addColumn<qint64>("pid");
        QProcess gone;
        gone.start(QStringLiteral("/bin/true"), {});
        gone.waitForStarted(5000);
        const qint64 deadPid = gone.processId();
        gone.waitForFinished(5000);
        QTest::newRow("holder has died") << deadPid;
        // Its pid now belongs to another program.
        QTest::newRow("pid reused") << QCoreApplication::applicationPid();
    }
    void staleLockDoesNotKeepTheFileClosed() {
        QFETCH(qint64, pid);
        const QString lock = GroupFileLocks::lockPathFor(canonicalPath(groupPath), true);
        QFile out(lock);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::number(pid) + "\nzadw\n" + QSysInfo::machineHostName().toUtf8() +
                  "\n");
        out.close();
        Session session(*dir);
        QProcess* zadw = session.start(groupPath, true);
        QVERIFY(endedCleanly(zadw));
        QCOMPARE(copiesIn(session.backups(), "Grupp-" + kStamp + "\\.z08").size(), 1);
        QVERIFY(!QFile::exists(lock));
    }

    // A lock of a zadw on another machine is never taken over, however old: the window says
    // who has the file and leaves it alone.
    void lockOfAnotherMachineIsRespected() {
        const std::string canonical = canonicalPath(groupPath);
        const QString lock = GroupFileLocks::lockPathFor(canonical, true);
        const QByteArray content = "4242\nzadw\notherhost\n";
        {
            QFile out(lock);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }
        const QDateTime longAgo = QDateTime::currentDateTime().addDays(-30);
        {
            QFile touch(lock);
            QVERIFY(touch.open(QIODevice::ReadWrite));
            touch.setFileTime(longAgo, QFileDevice::FileModificationTime);
        }
        // The other machine's zadw holds its lock through the shared folder.
        const int held = ::open(QFile::encodeName(lock).constData(), O_RDWR);
        struct flock range {};
        range.l_type = F_WRLCK;
        QCOMPARE(::fcntl(held, F_OFD_SETLK, &range), 0);
        const auto closeHeld = qScopeGuard([held] { ::close(held); });
        const std::string holder = (userName() + QStringLiteral("@otherhost")).toStdString();
        GroupFileLocks locks;
        const FileLocker::Result result = locks.acquire(canonical, true);
        QCOMPARE(int(result.outcome), int(FileLocker::Outcome::HeldElsewhere));
        QCOMPARE(qs(result.holder), qs(holder));

        // The window at start-up: 2009, and it gives way without reading or writing.
        const std::string before = readFile(groupPath);
        Desk desk;
        Services services = desk.services();
        services.locks = &locks;
        CReportsDlg dlg(services, StartupInfo{qs(groupPath), QDate(2026, 12, 8)});
        QVERIFY(dlg.startupGaveWay());
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(desk.messages.shown[0]),
                 qs(FormatArgs(LoadString(StringId::GroupFileOpenElsewhere), {groupPath, holder})));
        QCOMPARE(readFile(groupPath), before);
        QFile in(lock);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), content);
    }

    // A folder the user cannot create files in: the lock goes to the runtime folder and still
    // keeps a second window of the same user out.
    void lockInTheRuntimeFolderForAReadOnlyFolder() {
        if (!AsAnotherUser::possible()) {
            QSKIP("running as root and there is no user \"nobody\" to drop to");
        }
        const std::string folder = dir->file("lasbar");
        const std::string runtime = dir->file("run");
        QDir().mkpath(qs(folder));
        QDir().mkpath(qs(runtime));
        const std::string path = folder + "/Grupp.z08";
        writeGroup(path, 10, 4, fourPeople());
        ::chmod(dir->path().c_str(), 0755);
        ::chmod(folder.c_str(), 0555);
        ::chmod(runtime.c_str(), 0700);
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            QCOMPARE(::chown(runtime.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
        const std::string canonical = canonicalPath(path);
        FileLocker::Outcome first{}, second{}, afterRelease{};
        std::string holder;
        bool inRuntime = false, besideFile = true;
        {
            AsAnotherUser user;
            if (!user.ok()) {
                qputenv("XDG_RUNTIME_DIR", oldRuntime);
                QSKIP("running as root and the rights cannot be dropped");
            }
            GroupFileLocks window, another;
            first = window.acquire(canonical, false).outcome;
            inRuntime = QFile::exists(GroupFileLocks::lockPathFor(canonical, false));
            besideFile = QFile::exists(GroupFileLocks::lockPathFor(canonical, true));
            const FileLocker::Result refused = another.acquire(canonical, false);
            second = refused.outcome;
            holder = refused.holder;
            window.release(canonical);
            afterRelease = another.acquire(canonical, false).outcome;
        }
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        ::chmod(folder.c_str(), 0755);
        QCOMPARE(int(first), int(FileLocker::Outcome::Acquired));
        QVERIFY(inRuntime);
        QVERIFY(!besideFile);
        QCOMPARE(int(second), int(FileLocker::Outcome::HeldElsewhere));
        QVERIFY(qs(holder).endsWith(QLatin1Char('@') + QSysInfo::machineHostName()));
        QCOMPARE(int(afterRelease), int(FileLocker::Outcome::Acquired));
    }

    // A FIFO named like a group file: 2001, an empty window, and no command waits on it.
    void fifoIsNoGroupFile() {
        const std::string fifo = dir->file("FIFO.z08");
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        // Should anything block on opening the FIFO, a writer is let in after a while so the
        // test ends, and the case fails.
        std::atomic<bool> done{false};
        std::atomic<bool> hadToUnblock{false};
        std::thread watchdog([&] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (!done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (std::chrono::steady_clock::now() < until) {
                    continue;
                }
                const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    hadToUnblock = true;
                    ::close(fd);
                }
            }
        });
        Desk desk;
        auto dlg = desk.open(qs(fifo));
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        const bool said2001 =
            desk.messages.shown[0] == FormatText(LoadString(StringId::CannotOpenFile), fifo);
        const int lineCount = dlg->publisherListBox()->count();
        // "Ladda ner ny lista", cancelled.
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        const int chooserCalls = desk.files.calls;
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        const bool closed = !dlg->isVisible();
        done = true;
        watchdog.join();
        QVERIFY(!hadToUnblock);
        QVERIFY(said2001);
        QCOMPARE(lineCount, 0);
        QCOMPARE(chooserCalls, 1);
        QVERIFY(closed);
        QVERIFY(S_ISFIFO(statOf(fifo).st_mode));
    }

    // `cd grupper; zadw Grupp.z08`: the profile remembers the whole path, so the next start
    // from anywhere opens the same file.
    void relativePathIsRememberedWhole_data() {
        QTest::addColumn<QString>("folder"); // the working folder, inside the scratch folder
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("name") << "grupper"
                              << "Grupp.z08";
        QTest::newRow("dot") << "grupper"
                             << "./Grupp.z08";
        QTest::newRow("quoted") << "grupper"
                                << "\"Grupp.z08\"";
        QTest::newRow("subfolder") << "."
                                   << "grupper/Grupp.z08";
    }
    void relativePathIsRememberedWhole() {
        QFETCH(QString, folder);
        QFETCH(QString, commandLine);
        const QString groups = qs(dir->file("grupper"));
        QDir().mkpath(groups);
        QDir().mkpath(qs(dir->file("annan")));
        writeGroup(dir->file("grupper/Grupp.z08"), 10, 4, fourPeople());
        const QString whole = QDir(groups).canonicalPath() + QStringLiteral("/Grupp.z08");

        QVERIFY(QDir::setCurrent(qs(dir->file(folder.toStdString()))));
        Desk desk;
        auto dlg = desk.open(commandLine);
        QCOMPARE(dlg->groupFile().store.publisherCount, 4);
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(desk.profile.values.value(QStringLiteral("Last/LoadPath")), whole);

        QVERIFY(QDir::setCurrent(qs(dir->file("annan"))));
        Desk next;
        next.profile.values = desk.profile.values;
        auto again = next.open(QString());
        QCOMPARE(again->groupFile().store.publisherCount, 4);
        QVERIFY(next.messages.shown.empty());
    }

    // The secretary's new list copied over the open file. Whatever the answer to
    // FileChangedOnDisk, neither the list nor what was entered is lost.
    void fileReplacedUnderTheWindow_data() {
        QTest::addColumn<bool>("atExit");    // else at a stored report
        QTest::addColumn<bool>("entered");   // a report was entered before
        QTest::addColumn<bool>("answerYes"); // to FileChangedOnDisk
        QTest::newRow("stored report, read the file") << false << true << true;
        QTest::newRow("stored report, overwrite") << false << true << false;
        QTest::newRow("exit, read the file") << true << true << true;
        QTest::newRow("exit, overwrite") << true << true << false;
        QTest::newRow("exit, nothing entered") << true << false << false;
    }
    void fileReplacedUnderTheWindow() {
        QFETCH(bool, atExit);
        QFETCH(bool, entered);
        QFETCH(bool, answerYes);
        Desk desk;
        auto dlg = desk.open(qs(groupPath));
        QCOMPARE(dlg->groupFile().store.publisherCount, 4);
        const std::string list = newListBytes(*dir);
        replaceOnDisk(groupPath, list);
        if (entered) {
            dlg->groupFile().store.record(2).hours[10] = 9;
            dlg->groupFile().markChanged();
        }
        desk.messages.answers = {answerYes ? MsgAnswer::Yes : MsgAnswer::No};
        bool stored = true;
        if (atExit) {
            QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
            QVERIFY(!dlg->isVisible());
        } else {
            stored = dlg->entryContext().WriteBack();
        }
        QVERIFY(stored);

        const QStringList unsaved = copiesIn(backups, "Grupp-" + kStamp + "-unsaved\\.z08");
        const QStringList replaced = copiesIn(backups, "Grupp-" + kStamp + "-replaced\\.z08");
        if (!entered) {
            // Nothing to write: the new list stays as it is, and nobody is asked.
            QVERIFY(desk.messages.shown.empty());
            QCOMPARE(readFile(groupPath), list);
            QVERIFY(unsaved.isEmpty() && replaced.isEmpty());
            return;
        }
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(unsaved.size(), 1);
        QCOMPARE(qs(desk.messages.shown[0]), qs(FormatArgs(LoadString(StringId::FileChangedOnDisk),
                                                           {groupPath, unsaved[0].toStdString()})));
        QCOMPARE(int(desk.messages.defaults[0]), int(MsgAnswer::Yes));
        QCOMPARE(hoursInFile(unsaved[0].toStdString()), 9);
        if (answerYes) {
            QCOMPARE(readFile(groupPath), list);
            QVERIFY(replaced.isEmpty());
            if (!atExit) {
                QCOMPARE(lines(*dlg), kNewListLines);
                QCOMPARE(dlg->groupFile().store.groupNumber, 7);
            }
        } else {
            QCOMPARE(replaced.size(), 1);
            QCOMPARE(readFile(replaced[0].toStdString()), list);
            QCOMPARE(hoursInFile(groupPath), 9);
            if (!atExit) {
                QCOMPARE(dlg->groupFile().store.publisherCount, 4);
            }
        }
    }

    // "Ladda ner ny lista" on the open file's own name after the new list was copied there:
    // the list is read as it is, and the old group goes to the backup folder, not over it.
    void newListUnderTheSameName_data() {
        QTest::addColumn<bool>("throughLink"); // chosen through another name for its folder
        QTest::newRow("same path") << false;
        QTest::newRow("folder through a link") << true;
    }
    void newListUnderTheSameName() {
        QFETCH(bool, throughLink);
        Desk desk;
        auto dlg = desk.open(qs(groupPath));
        dlg->groupFile().store.record(2).hours[10] = 9;
        dlg->groupFile().markChanged();
        const std::string list = newListBytes(*dir);
        replaceOnDisk(groupPath, list);
        std::string chosen = groupPath;
        if (throughLink) {
            const std::string link = dir->file("lank");
            QCOMPARE(::symlink(dir->path().c_str(), link.c_str()), 0);
            chosen = link + "/Grupp.z08";
        }
        desk.files.next = qs(chosen);
        desk.messages.answers = {MsgAnswer::No}; // the unsent report: read the list all the same
        QTest::mouseClick(control(dlg.get(), ReportsCtl::LoadNewList), Qt::LeftButton);
        // The only question is about the report never sent; the file itself is read as it is.
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(lines(*dlg), kNewListLines);
        QCOMPARE(readFile(groupPath), list);
        const QStringList unsaved = copiesIn(backups, "Grupp-" + kStamp + "-unsaved\\.z08");
        QCOMPARE(unsaved.size(), 1);
        QCOMPARE(hoursInFile(unsaved[0].toStdString()), 9);
        const QStringList unsent = copiesIn(backups, "Grupp-" + kStamp + "-unsent\\.z08");
        QCOMPARE(unsent.size(), 1);
        QCOMPARE(hoursInFile(unsent[0].toStdString()), 9);
        // Exit afterwards leaves the list alone too.
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(readFile(groupPath), list);
    }

    // A damaged file (2003) is not rewritten by just opening and closing it.
    void damagedFileIsLeftAloneAtExit() {
        std::string bytes = readFile(groupPath);
        bytes.resize(bytes.size() - 100);
        writeFile(groupPath, bytes);
        const struct stat before = statOf(groupPath);
        Desk desk;
        auto dlg = desk.open(qs(groupPath));
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(desk.messages.shown[0]),
                 qs(FormatText(LoadString(StringId::GroupFileIncomplete), groupPath)));
        QTest::keyClick(dlg->publisherListBox(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(readFile(groupPath), bytes);
        QVERIFY(sameFileState(statOf(groupPath), before));
    }

    // A mode-444 file in a folder the user may write: said once at loading, never replaced.
    // As root, the case runs with the rights of "nobody" and gets root back afterwards.
    void readOnlyFileIsNeverReplaced() {
        if (!AsAnotherUser::possible()) {
            QSKIP("running as root and there is no user \"nobody\" to drop to");
        }
        const std::string folder = dir->file("shared");
        QDir().mkpath(qs(folder));
        QDir().mkpath(backups);
        for (const std::string& p : {dir->path().string(), folder, dir->file("data"),
                                     dir->file("data/zadw"), backups.toStdString()}) {
            ::chmod(p.c_str(), 0777);
        }
        const std::string path = folder + "/Grupp.z08";
        writeGroup(path, 10, 4, fourPeople());
        ::chmod(path.c_str(), 0444);
        const std::string before = readFile(path);
        const struct stat stBefore = statOf(path);

        AsAnotherUser user;
        if (!user.ok()) {
            QSKIP("running as root and the rights cannot be dropped");
        }
        Desk desk;
        auto dlg = desk.open(qs(path));
        QCOMPARE(dlg->groupFile().store.publisherCount, 4);
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(desk.messages.shown[0]),
                 qs(FormatText(LoadString(StringId::FileReadOnly), path)));
        dlg->groupFile().store.record(2).hours[10] = 9;
        QVERIFY(!dlg->entryContext().WriteBack());
        QCOMPARE(desk.messages.shown.size(), std::size_t(2));
        QCOMPARE(qs(desk.messages.shown[1]),
                 qs(FormatText(LoadString(StringId::CannotCreateFile), path)));
        QCOMPARE(readFile(path), before);
        QVERIFY(sameFileState(statOf(path), stBefore));
        QCOMPARE(statOf(path).st_uid, stBefore.st_uid);
    }

    // A file with another hard link, in a folder that cannot take a new file (for root it
    // still could, so the second link is what sends the write in place): the same inode gets
    // the new bytes, the other name sees them, and both versions are in the backup folder.
    void linkedFileIsWrittenInPlace() {
        const std::string folder = dir->file("lasbar");
        QDir().mkpath(qs(folder));
        const std::string path = folder + "/Grupp.z08";
        const std::string other = dir->file("Kopia.z08");
        writeGroup(path, 10, 4, fourPeople());
        QCOMPARE(::link(path.c_str(), other.c_str()), 0);
        ::chmod(folder.c_str(), 0555);
        const std::string old = readFile(path);
        const struct stat before = statOf(path);

        Desk desk;
        auto dlg = desk.open(qs(path));
        dlg->groupFile().store.record(2).hours[10] = 9;
        const bool stored = dlg->entryContext().WriteBack();
        ::chmod(folder.c_str(), 0755);
        QVERIFY(stored);
        QVERIFY(desk.messages.shown.empty());
        const struct stat after = statOf(path);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_nlink, nlink_t(2));
        QCOMPARE(hoursInFile(path), 9);
        QCOMPARE(readFile(other), readFile(path));
        const QStringList fresh = copiesIn(backups, "Grupp-" + kStamp + "-new\\.z08");
        QCOMPARE(fresh.size(), 1);
        QCOMPARE(readFile(fresh[0].toStdString()), readFile(path));
        const QStringList replaced = copiesIn(backups, "Grupp-" + kStamp + "-replaced\\.z08");
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(readFile(replaced[0].toStdString()), old);
        QCOMPARE(QDir(qs(folder)).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_MAIN(GroupFileProcessTest)
#include "GroupFileProcessTest.moc"
