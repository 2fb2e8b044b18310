// SPDX-License-Identifier: GPL-3.0-or-later
// zadw on Wayland, under weston's headless backend: the window starts, a report typed into it
// reaches the file, and a second start hands the file over to it. Where weston cannot start the
// test is skipped, and says why.
#include "GuiTestSupport.h"

#include "GroupFileLocks.h"

#include <QFile>
#include <QLibraryInfo>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace zadw;
using namespace zadw::test;

namespace {

constexpr int kSkipped = 77; // ctest's SKIP_RETURN_CODE for this test
constexpr int kReportMonth = 10;

// A compositor of its own, with no screen, on a socket in a runtime folder of its own.
class Weston {
public:
    ~Weston() { stop(); }
    Weston() = default;
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    // Empty when it runs; otherwise why not.
    QString start(const QString& program, const QString& runtime) {
        runtime_ = runtime;
        log_ = runtime + QStringLiteral("/weston.log");
        const QByteArray socketName = "zadw-test-" + QByteArray::number(::getpid());
        socket_ = runtime + QLatin1Char('/') + QString::fromLatin1(socketName);
        const QByteArray path = QFile::encodeName(program);
        const QByteArray runtimeVar = "XDG_RUNTIME_DIR=" + QFile::encodeName(runtime);
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0) {
                env.emplace_back(*e);
            }
        }
        env.emplace_back(runtimeVar.toStdString());
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string backend = "--backend=headless-backend.so";
        std::string socket = "--socket=" + socketName.toStdString();
        std::string idle = "--idle-time=0";
        std::string noConfig = "--no-config";
        std::string name = path.toStdString();
        char* argv[] = {name.data(), backend.data(),  socket.data(),
                        idle.data(), noConfig.data(), nullptr};
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        const QByteArray logPath = QFile::encodeName(log_);
        posix_spawn_file_actions_addopen(&files, 1, logPath.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&files, 1, 2);
        const int spawned =
            posix_spawn(&pid_, path.constData(), &files, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&files);
        if (spawned != 0) {
            pid_ = -1;
            return QStringLiteral("weston cannot be run: %1")
                .arg(QString::fromLocal8Bit(std::strerror(spawned)));
        }
        for (int i = 0; i < 100; ++i) {
            if (QFile::exists(socket_)) {
                return {};
            }
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return QStringLiteral("weston ended at once: ") + lastLines();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return QStringLiteral("weston opened no socket within 5 s: ") + lastLines();
    }
    void stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }
    QByteArray socketName() const {
        return QFile::encodeName(socket_.section(QLatin1Char('/'), -1));
    }

private:
    QString lastLines() const {
        QFile f(log_);
        const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        return QString::fromLocal8Bit(all.right(400)).simplified();
    }

    pid_t pid_ = -1;
    QString runtime_;
    QString log_;
    QString socket_;
};

// The publications of the first publisher in the report month, as the file on disk has them.
int publicationsInFile(const std::string& path) {
    RecordingSink sink;
    GroupStore store(sink);
    store.loadGroupFile(path);
    return store.publisherCount >= 1
               ? int(store.getNewFormValue(1, kReportMonth, NewFormValue::Publications))
               : -1;
}

} // namespace

class WaylandSmokeTest : public QObject {
    Q_OBJECT

    ScratchDir dir;

private slots:
    void startsStoresAndHandsOver() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        const std::string path = dir.file("Grupp.z08");
        writeGroup(path, kReportMonth, 4,
                   {{"Lars", "Andersson", "", "", "", "", 0}, {"Eva", "Holm", "", "", "", "", 0}});
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.file("data")));

        Desk desk;
        GroupFileLocks locks;
        Services services = desk.services();
        services.locks = &locks;
        CReportsDlg window(services,
                           StartupInfo{QString::fromStdString(path), QDate(2026, 12, 8), {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.publisherListBox()->count(), 2);

        // A report typed in the usual way is on disk at once.
        bool typed = false;
        whenModalOpens([&typed](QWidget* modal) {
            QTest::keyClicks(modal->focusWidget(), QStringLiteral("7"));
            for (int i = 0; i < 5 && modal->isVisible(); ++i) {
                QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
            }
            typed = !modal->isVisible();
        });
        QTest::keyClick(window.publisherListBox(), Qt::Key_Return);
        QVERIFY(typed);
        QCOMPARE(publicationsInFile(path), 7);

        // A second start on the same file hands it to this window and ends.
        bool handedOver = false;
        const std::function<void()> bringToFront = locks.onHandOver;
        locks.onHandOver = [&] {
            handedOver = true;
            bringToFront();
        };
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QString::fromStdString(dir.file("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.file("config")));
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(ZADW_BINARY), {QString::fromStdString(path)});
        QVERIFY(second.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(handedOver);
        QCOMPARE(publicationsInFile(path), 7);
        QVERIFY(window.isVisible());
    }
};

int main(int argc, char** argv) {
    const auto skip = [](const QString& why) {
        std::printf("SKIP   : WaylandSmokeTest: %s\n", qPrintable(why));
        return kSkipped;
    };
    const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
    if (weston.isEmpty()) {
        return skip(QStringLiteral("weston is not installed (scripts/install-deps)"));
    }
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           QStringLiteral("/platforms/libqwayland-generic.so");
    if (!QFile::exists(plugin)) {
        return skip(QStringLiteral("qt6-wayland is not installed (scripts/install-deps)"));
    }
    QTemporaryDir runtime;
    if (!runtime.isValid() ||
        !QFile::setPermissions(runtime.path(),
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        return skip(QStringLiteral("no private runtime folder"));
    }
    Weston compositor;
    if (const QString why = compositor.start(weston, runtime.path()); !why.isEmpty()) {
        return skip(why);
    }
    // Qt picks its platform once, when the application starts; the second start inherits it.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qputenv("WAYLAND_DISPLAY", compositor.socketName());
    qputenv("QT_QPA_PLATFORM", "wayland");
    qunsetenv("DISPLAY");
    // The headless compositor has no seat, and Qt 6.4's Wayland input method takes a keyboard
    // for granted; keys typed by the test need none.
    qputenv("QT_IM_MODULE", "none");
    int result = 0;
    {
        QApplication app(argc, argv);
        WaylandSmokeTest test;
        QTEST_SET_MAIN_SOURCE_PATH
        result = QTest::qExec(&test, argc, argv);
    }
    compositor.stop();
    return result;
}

#include "WaylandSmokeTest.moc"
