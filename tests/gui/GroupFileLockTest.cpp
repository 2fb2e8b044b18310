// SPDX-License-Identifier: GPL-3.0-or-later
// Who owns a group file when others share its folder: things planted at the lock's or the
// socket's path, a file with several names, a window that does not answer, and starts at the
// same instant (real zadw processes).
#include "GuiTestSupport.h"

#include "AtomicFile.h"
#include "GroupFileLocks.h"
#include "Strings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSysInfo>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace zadw;
using namespace zadw::test;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string ss(const QString& s) {
    return s.toStdString();
}

QString me() {
    const passwd* pw = ::getpwuid(::getuid());
    return (pw != nullptr ? QString::fromLocal8Bit(pw->pw_name) : QString::number(::getuid())) +
           QLatin1Char('@') + QSysInfo::machineHostName();
}

// Real zadw processes with a home, runtime and cache folder of their own.
class Starts {
public:
    explicit Starts(const ScratchDir& dir) : root_(qs(dir.path().string())) {
        for (const char* sub : {"home", "data", "run", "cache"}) {
            QDir().mkpath(root_ + QLatin1Char('/') + QLatin1String(sub));
        }
        ::chmod(ss(root_ + QStringLiteral("/run")).c_str(), 0700);
    }
    ~Starts() {
        for (auto& p : processes_) {
            if (p->state() != QProcess::NotRunning) {
                ::kill(pid_t(p->processId()), SIGCONT);
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }
    QProcess* start(const std::string& file, bool exitWhenShown) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root_ + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), root_ + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root_ + QStringLiteral("/home/.config"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), root_ + QStringLiteral("/cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root_ + QStringLiteral("/run"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("ZADW_BENCH_EXIT_WHEN_SHOWN"));
        env.remove(QStringLiteral("ZADW_HANDOVER_WAIT_MS"));
        if (exitWhenShown) {
            env.insert(QStringLiteral("ZADW_BENCH_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
        }
        p->setProcessEnvironment(env);
        p->setProgram(QStringLiteral(ZADW_BINARY));
        p->setArguments({qs(file)});
        p->start();
        processes_.push_back(std::move(p));
        return processes_.back().get();
    }
    // The group file was read by n starts: each leaves one copy at loading.
    int loads() const {
        return int(
            QDir(root_ + QStringLiteral("/data/zadw/backups")).entryList(QDir::Files).size());
    }

private:
    QString root_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

// A listening socket that says "ok" to anything, as a squatter would.
class Squatter {
public:
    explicit Squatter(const std::string& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        path.copy(addr.sun_path, sizeof addr.sun_path - 1);
        listening_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                     ::listen(fd_, 8) == 0;
    }
    ~Squatter() { ::close(fd_); }
    bool listening() const { return listening_; }
    // Answers every caller waiting; true when anyone called.
    bool answer() {
        bool called = false;
        for (int c; (c = ::accept(fd_, nullptr, nullptr)) >= 0; ::close(c)) {
            called = ::send(c, "ok\n", 3, MSG_NOSIGNAL) == 3 || called;
        }
        return called;
    }

private:
    int fd_ = -1;
    bool listening_ = false;
};

// Root's test runs as an unprivileged user of a shared group while it lives; root's rights come
// back at its end.
class AsUser {
public:
    static constexpr gid_t kShared = 4200;
    explicit AsUser(uid_t uid) {
        ok_ = ::setgroups(0, nullptr) == 0 && ::setresgid(kShared, kShared, 0) == 0 &&
              ::setresuid(uid, uid, 0) == 0;
    }
    ~AsUser() {
        const gid_t root = 0;
        if (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0 || ::setgroups(1, &root) != 0) {
            std::abort(); // the other cases would run without their rights
        }
    }
    bool ok() const { return ok_; }
    AsUser(const AsUser&) = delete;
    AsUser& operator=(const AsUser&) = delete;

private:
    bool ok_ = false;
};

} // namespace

class GroupFileLockTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchDir> dir;
    std::string groupPath;

private slots:
    void init() {
        dir = std::make_unique<ScratchDir>();
        groupPath = dir->file("Grupp.z08");
        writeGroup(groupPath, 10, 4, {{"Olle", "Öberg", "", "", "", "", 0}});
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir->file("data")));
        QDir().mkpath(qs(dir->file("run")));
        ::chmod(dir->file("run").c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir->file("run")));
        qputenv("ZADW_HANDOVER_WAIT_MS", "300");
    }
    void cleanup() {
        qunsetenv("ZADW_HANDOVER_WAIT_MS");
        dir.reset();
    }

    // Whatever is at the lock's path that is not a lock file is neither followed nor waited on:
    // the start reads the file and ends, and what was planted is as it was.
    void plantedLockPath_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("link to a file of the collector's") << QStringLiteral("link");
        QTest::newRow("dangling link") << QStringLiteral("dangling");
    }
    void plantedLockPath() {
        QFETCH(QString, kind);
        const std::string lock = ss(GroupFileLocks::lockPathFor(canonicalPath(groupPath), true));
        const std::string target = dir->file("profile");
        if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(lock.c_str(), 0666), 0);
        } else {
            if (kind == QLatin1String("link")) {
                writeFile(target, "export PATH\n");
            }
            QCOMPARE(::symlink(target.c_str(), lock.c_str()), 0);
        }
        Starts starts(*dir);
        QProcess* zadw = starts.start(groupPath, true);
        QVERIFY(zadw->waitForFinished(10000));
        QCOMPARE(zadw->exitCode(), 0);
        QCOMPARE(starts.loads(), 1);
        struct stat st {};
        QCOMPARE(::lstat(lock.c_str(), &st), 0);
        QVERIFY(kind == QLatin1String("fifo") ? S_ISFIFO(st.st_mode) : S_ISLNK(st.st_mode));
        if (kind == QLatin1String("link")) {
            QCOMPARE(readFile(target), std::string("export PATH\n"));
        } else {
            QVERIFY(!QFileInfo::exists(qs(target)));
        }
    }

    // A socket at the hand-over path with no lock behind it hands nothing over, and the
    // socket folder is never reached through a link.
    void squattedSocketIsNoHandOver() {
        const std::string canonical = canonicalPath(groupPath);
        QVERIFY(QDir().mkpath(GroupFileLocks::privateFolder()));
        Squatter squatter(ss(GroupFileLocks::socketPathFor(canonical)));
        QVERIFY(squatter.listening());
        GroupFileLocks window;
        QCOMPARE(int(window.acquire(canonical, true).outcome), int(FileLocker::Outcome::Acquired));
        QVERIFY(!squatter.answer());

        // The runtime folder's zadw folder is a link elsewhere: not used.
        window.release(canonical);
        const std::string elsewhere = dir->file("elsewhere");
        QDir().mkpath(qs(elsewhere));
        QVERIFY(QDir(qs(dir->file("run/zadw"))).removeRecursively());
        QCOMPARE(::symlink(elsewhere.c_str(), dir->file("run/zadw").c_str()), 0);
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(dir->file("cache")));
        QVERIFY(GroupFileLocks::privateFolder().startsWith(qs(dir->file("cache"))));
        GroupFileLocks again;
        QCOMPARE(int(again.acquire(canonical, true).outcome), int(FileLocker::Outcome::Acquired));
        QVERIFY(QDir(qs(elsewhere)).isEmpty());
        qunsetenv("XDG_CACHE_HOME");
    }

    // Every name of a file with several hard links shares one owner, in its folder or another.
    void hardLinksShareOneOwner_data() {
        QTest::addColumn<QString>("otherName");
        QTest::newRow("same folder") << QStringLiteral("Kopia.z08");
        QTest::newRow("other folder") << QStringLiteral("annan/Grupp.z08");
    }
    void hardLinksShareOneOwner() {
        QFETCH(QString, otherName);
        const std::string other = dir->file(ss(otherName));
        QDir().mkpath(QFileInfo(qs(other)).absolutePath());
        QCOMPARE(::link(groupPath.c_str(), other.c_str()), 0);
        GroupFileLocks window, second;
        QCOMPARE(int(window.acquire(canonicalPath(groupPath), false).outcome),
                 int(FileLocker::Outcome::Acquired));
        const FileLocker::Result refused = second.acquire(canonicalPath(other), false);
        QCOMPARE(int(refused.outcome), int(FileLocker::Outcome::HeldElsewhere));
        QCOMPARE(qs(refused.holder), me());
        window.release(canonicalPath(groupPath));
        QCOMPARE(int(second.acquire(canonicalPath(other), false).outcome),
                 int(FileLocker::Outcome::Acquired));
    }

    // Two users of one shared folder (mode 2775): whoever comes second is told who has the
    // file, by any name of it, also when they cannot make files in the folder themselves.
    void twoUsersOneOwner_data() {
        QTest::addColumn<QString>("secondName");
        QTest::addColumn<int>("folderMode");
        QTest::newRow("same name") << QStringLiteral("Grupp.z08") << 02775;
        QTest::newRow("hard link") << QStringLiteral("Kopia.z08") << 02775;
        QTest::newRow("folder only the first may write") << QStringLiteral("Grupp.z08") << 02755;
    }
    void twoUsersOneOwner() {
        QFETCH(QString, secondName);
        QFETCH(int, folderMode);
        if (::geteuid() != 0) {
            QSKIP("needs root to act as two users");
        }
        const uid_t collector = 4201, assistant = 4202;
        const std::string shared = dir->file("delad");
        const std::string file = shared + "/Grupp.z08";
        QVERIFY(QDir().mkpath(qs(shared)));
        QCOMPARE(::rename(groupPath.c_str(), file.c_str()), 0);
        if (secondName != QLatin1String("Grupp.z08")) {
            QCOMPARE(::link(file.c_str(), (shared + "/" + ss(secondName)).c_str()), 0);
        }
        ::chmod(dir->path().c_str(), 0755);
        QCOMPARE(::chown(shared.c_str(), collector, AsUser::kShared), 0);
        QCOMPARE(::chmod(shared.c_str(), mode_t(folderMode)), 0);
        QCOMPARE(::chown(file.c_str(), collector, AsUser::kShared), 0);
        QCOMPARE(::chmod(file.c_str(), 0660), 0);
        for (const uid_t user : {collector, assistant}) {
            const std::string run = dir->file("run-" + std::to_string(user));
            QVERIFY(QDir().mkpath(qs(run)));
            QCOMPARE(::chown(run.c_str(), user, AsUser::kShared), 0);
            QCOMPARE(::chmod(run.c_str(), 0700), 0);
        }
        const auto runtimeOf = [&](uid_t user) {
            qputenv("XDG_RUNTIME_DIR",
                    QByteArray::fromStdString(dir->file("run-" + std::to_string(user))));
        };
        GroupFileLocks first, second;
        FileLocker::Result got, refused, afterwards;
        {
            AsUser user(collector);
            QVERIFY(user.ok());
            runtimeOf(collector);
            got = first.acquire(canonicalPath(file), true);
        }
        {
            AsUser user(assistant);
            runtimeOf(assistant);
            refused = second.acquire(canonicalPath(shared + "/" + ss(secondName)), true);
        }
        {
            AsUser user(collector);
            runtimeOf(collector);
            first.release(canonicalPath(file));
        }
        {
            AsUser user(assistant);
            runtimeOf(assistant);
            afterwards = second.acquire(canonicalPath(shared + "/" + ss(secondName)), true);
            second.release(canonicalPath(shared + "/" + ss(secondName)));
        }
        QCOMPARE(int(got.outcome), int(FileLocker::Outcome::Acquired));
        QCOMPARE(int(refused.outcome), int(FileLocker::Outcome::HeldElsewhere));
        QCOMPARE(qs(refused.holder), QStringLiteral("4201@") + QSysInfo::machineHostName());
        QCOMPARE(int(afterwards.outcome), int(FileLocker::Outcome::Acquired));
    }

    // A window of ours that holds the file but does not answer (this test's event loop does not
    // run): the second start says so after its wait, never that someone should close it.
    void windowThatDoesNotAnswer() {
        const std::string canonical = canonicalPath(groupPath);
        GroupFileLocks frozen, second;
        QCOMPARE(int(frozen.acquire(canonical, false).outcome), int(FileLocker::Outcome::Acquired));
        Desk desk;
        Services services = desk.services();
        services.locks = &second;
        QElapsedTimer waited;
        waited.start();
        CReportsDlg dlg(services, StartupInfo{qs(groupPath), QDate(2026, 12, 8)});
        QVERIFY(waited.elapsed() >= 300);
        QVERIFY(waited.elapsed() < 3000);
        QVERIFY(dlg.startupGaveWay());
        QCOMPARE(desk.messages.shown.size(), std::size_t(1));
        QCOMPARE(qs(desk.messages.shown[0]),
                 qs(FormatText(LoadString(StringId::GroupFileWindowNotAnswering), groupPath)));
    }

    // Starts at the same instant: one window owns the file, every other start hands over and
    // ends without a message (a message box would keep it running).
    void startsAtTheSameInstant_data() {
        QTest::addColumn<int>("count");
        for (int round = 0; round < 10; ++round) {
            QTest::addRow("two, %d", round) << 2;
            QTest::addRow("three, %d", round) << 3;
        }
    }
    void startsAtTheSameInstant() {
        QFETCH(int, count);
        Starts starts(*dir);
        std::vector<QProcess*> all;
        for (int i = 0; i < count; ++i) {
            all.push_back(starts.start(groupPath, false));
        }
        QElapsedTimer timer;
        timer.start();
        int running = count;
        while (running > 1 && timer.elapsed() < 15000) {
            QTest::qWait(20);
            running = int(std::count_if(all.begin(), all.end(), [](QProcess* p) {
                return p->state() != QProcess::NotRunning;
            }));
        }
        QCOMPARE(running, 1);
        for (QProcess* p : all) {
            if (p->state() == QProcess::NotRunning) {
                QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            }
        }
        QVERIFY(starts.loads() <= 1); // only the owner reads the file
    }
};

QTEST_MAIN(GroupFileLockTest)
#include "GroupFileLockTest.moc"
