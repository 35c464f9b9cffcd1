// One instance per user: a later start wakes the running one (its window,
// or the dialog open in it, comes forward) and ends; a lock or socket left
// by a crashed instance never stops the next start.
#include "app/ActivationWatcher.h"
#include "app/SingleInstance.h"
#include "support/TempDir.h"

#include <QDialog>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QMainWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hpa {

namespace {

CInstanceNames NamesIn(const test::CTempDir& dir)
{
    const QString strDir = QString::fromStdString(dir.Path().string());
    return {strDir + "/HPA-test.lock", strDir + "/HPA-test.socket"};
}

// A socket file nobody listens on, as a killed instance leaves it.
void MakeDeadSocket(const QString& strPath)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(strPath);
    std::memcpy(addr.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
}

// A lock file written by a process that is gone.
void MakeDeadLock(const QString& strPath)
{
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        QLockFile lock(strPath);
        lock.tryLock(0);
        ::_exit(lock.isLocked() ? 0 : 1); // leaves the file behind
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(strPath));
}

} // namespace

TEST(SingleInstance, LaterStartWakesTheRunningInstanceAndEnds)
{
    test::CTempDir dir;
    CSingleInstance first(NamesIn(dir));
    ASSERT_EQ(first.Claim(), CSingleInstance::Outcome::First);
    QMainWindow window;
    window.show();
    first.Watcher()->SetMainWindow(&window);
    QSignalSpy spy(first.Watcher(), &CActivationWatcher::activated);

    CSingleInstance second(NamesIn(dir));
    EXPECT_EQ(second.Claim(), CSingleInstance::Outcome::Handed);
    EXPECT_EQ(second.Watcher(), nullptr);
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(0).at(0).value<QWidget*>(), &window);

    // Two more starts in quick succession are both served.
    CSingleInstance third(NamesIn(dir));
    CSingleInstance fourth(NamesIn(dir));
    EXPECT_EQ(third.Claim(), CSingleInstance::Outcome::Handed);
    EXPECT_EQ(fourth.Claim(), CSingleInstance::Outcome::Handed);
    QTRY_COMPARE_WITH_TIMEOUT(first.Watcher()->RequestCount(), 3, 3000);
}

TEST(SingleInstance, OpenModalDialogIsWhatComesForward)
{
    test::CTempDir dir;
    CSingleInstance first(NamesIn(dir));
    ASSERT_EQ(first.Claim(), CSingleInstance::Outcome::First);
    QMainWindow window;
    window.show();
    first.Watcher()->SetMainWindow(&window);
    QDialog dialog(&window);
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(CActivationWatcher::WindowToActivate(&window), &dialog);

    QSignalSpy spy(first.Watcher(), &CActivationWatcher::activated);
    ASSERT_TRUE(CSingleInstance::SendActivation(first.Names().strSocket, 1000));
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(0).at(0).value<QWidget*>(), &dialog);
    dialog.close();
    EXPECT_EQ(CActivationWatcher::WindowToActivate(&window), &window);
}

TEST(SingleInstance, ModelessFindDialogActiveLastComesForward)
{
    test::CTempDir dir;
    CSingleInstance first(NamesIn(dir));
    ASSERT_EQ(first.Claim(), CSingleInstance::Outcome::First);
    QMainWindow window;
    auto* pCentral = new QWidget;
    window.setCentralWidget(pCentral);
    window.show();
    first.Watcher()->SetMainWindow(&window);
    // A modeless dialog owned by a child of the main window, as Find is.
    QDialog find(pCentral);
    find.show();
    find.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&find));

    QSignalSpy spy(first.Watcher(), &CActivationWatcher::activated);
    ASSERT_TRUE(CSingleInstance::SendActivation(first.Names().strSocket, 1000));
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(0).at(0).value<QWidget*>(), &find);

    // Once the main window was active last, it is what comes forward.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(CSingleInstance::SendActivation(first.Names().strSocket, 1000));
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(1).at(0).value<QWidget*>(), &window);
}

TEST(SingleInstance, RequestBeforeTheMainWindowExistsOnlyBeeps)
{
    test::CTempDir dir;
    CSingleInstance first(NamesIn(dir));
    ASSERT_EQ(first.Claim(), CSingleInstance::Outcome::First);
    QSignalSpy spy(first.Watcher(), &CActivationWatcher::activated);
    ASSERT_TRUE(CSingleInstance::SendActivation(first.Names().strSocket, 1000));
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(0).at(0).value<QWidget*>(), nullptr);
}

TEST(SingleInstance, OtherTrafficOnTheSocketActivatesNothing)
{
    test::CTempDir dir;
    CSingleInstance first(NamesIn(dir));
    ASSERT_EQ(first.Claim(), CSingleInstance::Outcome::First);
    QLocalSocket socket;
    socket.connectToServer(first.Names().strSocket);
    ASSERT_TRUE(socket.waitForConnected(1000));
    socket.write(QByteArray(200, 'x')); // no line end, far too long
    socket.write("open /etc/passwd\n");
    socket.flush();
    QTest::qWait(200);
    EXPECT_EQ(first.Watcher()->RequestCount(), 0);
}

TEST(SingleInstance, LeftoversOfACrashedInstanceAreTakenOver)
{
    test::CTempDir dir;
    const CInstanceNames names = NamesIn(dir);
    MakeDeadLock(names.strLockFile);
    MakeDeadSocket(names.strSocket);
    CSingleInstance next(names);
    ASSERT_EQ(next.Claim(), CSingleInstance::Outcome::First);
    // The socket is live again: a later start reaches it.
    CSingleInstance later(names);
    EXPECT_EQ(later.Claim(), CSingleInstance::Outcome::Handed);
}

TEST(SingleInstance, LiveLockWithoutAnAnsweringInstanceEndsTheStartAfterTheWait)
{
    test::CTempDir dir;
    const CInstanceNames names = NamesIn(dir);
    QLockFile held(names.strLockFile); // a live process (this one) holds it
    ASSERT_TRUE(held.tryLock(0));
    CSingleInstance next(names);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(next.Claim(300), CSingleInstance::Outcome::Unreachable);
    EXPECT_LT(timer.elapsed(), 3000);
}

TEST(SingleInstance, ClosingTheInstanceFreesLockAndSocketAtOnce)
{
    test::CTempDir dir;
    const CInstanceNames names = NamesIn(dir);
    {
        CSingleInstance first(names);
        ASSERT_EQ(first.Claim(), CSingleInstance::Outcome::First);
    }
    EXPECT_FALSE(QFile::exists(names.strLockFile));
    EXPECT_FALSE(QFile::exists(names.strSocket));
    CSingleInstance again(names);
    EXPECT_EQ(again.Claim(), CSingleInstance::Outcome::First);
}

TEST(SingleInstance, DefaultNamesArePerUserInAPrivateDirectory)
{
    const CInstanceNames names = DefaultInstanceNames();
    ASSERT_FALSE(names.strLockFile.isEmpty());
    const QString strUser = QStringLiteral("HPA-%1").arg(::getuid());
    EXPECT_TRUE(names.strLockFile.endsWith("/" + strUser + ".lock"));
    EXPECT_TRUE(names.strSocket.endsWith("/" + strUser + ".socket"));
    struct stat st {};
    const QByteArray parent = QFile::encodeName(QFileInfo(names.strSocket).absolutePath());
    ASSERT_EQ(::stat(parent.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_EQ(st.st_uid, ::getuid());
}

// The real program, twice and after a crash.
TEST(SingleInstance, ProgramStartsOnceAndSurvivesACrashedPredecessor)
{
    test::CTempDir runtime;
    test::CTempDir config;
    ::chmod(runtime.Path().c_str(), 0700);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path().string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.Path().string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString strProgram = QStringLiteral(HPA_BIN_DIR "/hpa");
    const QString strSocket = QString::fromStdString(runtime.Path().string()) +
                              QStringLiteral("/HPA-%1.socket").arg(::getuid());
    auto Start = [&](QProcess& p, const QStringList& args) {
        p.setProcessEnvironment(env);
        p.start(strProgram, args);
        return p.waitForStarted(5000);
    };
    auto Listening = [&] {
        QLocalSocket probe;
        probe.connectToServer(strSocket);
        return probe.waitForConnected(200);
    };

    QProcess first;
    ASSERT_TRUE(Start(first, {"--nosplash"}));
    QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);

    QProcess second;
    ASSERT_TRUE(Start(second, {"--nosplash", "some.hpa"}));
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // A crash leaves the lock and the socket behind.
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    first.waitForFinished(5000);
    QProcess third;
    ASSERT_TRUE(Start(third, {"--nosplash"}));
    EXPECT_FALSE(third.waitForFinished(1500)); // it runs
    QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);
    QProcess fourth;
    ASSERT_TRUE(Start(fourth, {}));
    ASSERT_TRUE(fourth.waitForFinished(10000));
    EXPECT_EQ(fourth.exitCode(), 0);
    EXPECT_EQ(third.state(), QProcess::Running);
    third.terminate();
    third.waitForFinished(5000);
}

} // namespace hpa
