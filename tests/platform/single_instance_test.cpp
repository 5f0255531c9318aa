// Start-up as the desktop does it: real processes in their own program directory, each
// test with a fresh runtime directory and cache of its own.
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include "platform/single_instance.h"
#include "platform/start_warm_up.h"
#include "window_test_support.h"

using namespace devical::testing;

namespace {

constexpr int kStartTimeoutMs = 10000;
// A start that finds a hung instance first waits out its answer (3 s), then claims the
// directory: under a loaded machine or the sanitizers that is well past a start's usual time.
// Only a hang guard: nothing here is timed.
constexpr int kPastAHungInstanceMs = 60000;
constexpr int kRacingPairs = 50;
constexpr uid_t kNobody = 65534;

// What stands at path itself, not behind a link; all zero where nothing does.
struct stat Status(const QString& path) {
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

bool IsOwnSocket(const QString& path) {
    const struct stat status = Status(path);
    return S_ISSOCK(status.st_mode) && status.st_uid == ::getuid();
}

bool SetMode(const QString& path, mode_t mode) { return ::chmod(QFile::encodeName(path).constData(), mode) == 0; }

// A socket of the tests' own, closed when it goes.
class Socket {
public:
    Socket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool Connect(const QString& path) { return Address(path) && ::connect(fd_, Generic(), sizeof address_) == 0; }
    bool Listen(const QString& path) {
        return Address(path) && ::bind(fd_, Generic(), sizeof address_) == 0 && ::listen(fd_, 8) == 0;
    }
    bool Send(const QByteArray& data) {
        return ::send(fd_, data.constData(), size_t(data.size()), MSG_NOSIGNAL) == data.size();
    }
    // Whether somebody has connected to this listening socket.
    bool HasConnected() {
        const int connection = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) ::close(connection);
        return connection >= 0;
    }

private:
    bool Address(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        address_.sun_family = AF_UNIX;
        if (fd_ < 0 || size_t(name.size()) >= sizeof address_.sun_path) return false;
        qstrcpy(address_.sun_path, name.constData());
        return true;
    }
    const sockaddr* Generic() const { return reinterpret_cast<const sockaddr*>(&address_); }

    int fd_;
    sockaddr_un address_{};
};

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    // A program directory holding its own copy of the program. The stored size "5" is
    // rewritten as "3" by the first activation, which tells when the window was shown.
    std::unique_ptr<TestProgramDirectory> dir_;
    std::unique_ptr<QTemporaryDir> runtime_;  // XDG_RUNTIME_DIR
    std::unique_ptr<QTemporaryDir> cache_;    // XDG_CACHE_HOME, used where the runtime directory is refused
    QString program_;
    const QByteArray busAddress_ = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray home_ = qgetenv("HOME");

    void Launch(QProcess& process, const QStringList& arguments = {}) {
        process.setProgram(program_);
        process.setArguments(arguments);
        process.setWorkingDirectory(QDir::tempPath());
        process.start();
    }
    void Start(QProcess& process, const QStringList& arguments = {}) {
        Launch(process, arguments);
        QVERIFY(process.waitForStarted());
    }
    // Where this program directory's instance listens, found as the program finds it.
    QString SocketPath() const { return devical::platform::SingleInstance(dir_->Path()).SocketPath(); }
    bool Listening() {
        Socket probe;  // connects without asking anything
        return probe.Connect(SocketPath());
    }
    QByteArray StoredSize() const { return dir_->Setting("Windows", "Size"); }
    // Stores "5" again, so that the next activation shows in the file.
    void ForgetActivation() const {
        const QString settings = QStringLiteral("DEVICAL.INI");
        dir_->Write(settings, dir_->Read(settings).replace("Size=3", "Size=5"));
    }
    // A start that must come up with its window and the guard, whatever stood in its way.
    void StartsWithWindowAndGuard() {
        QProcess process;
        Start(process);
        QTRY_COMPARE_WITH_TIMEOUT(StoredSize(), QByteArray("3"), kStartTimeoutMs);
        QCOMPARE(process.state(), QProcess::Running);
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), kStartTimeoutMs);
        QVERIFY(IsOwnSocket(SocketPath()));
        Stop(process);
    }
    // An instance killed without a chance to clean up, as a crash leaves it.
    void LeaveStaleSocket() {
        QProcess process;
        Start(process, {QStringLiteral("/m")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), kStartTimeoutMs);
        Stop(process);
        QVERIFY(IsOwnSocket(SocketPath()));
        QVERIFY(!Listening());
    }
    static void Stop(QProcess& process) {
        process.kill();
        process.waitForFinished();
    }

private slots:
    void init() {
        dir_ = std::make_unique<TestProgramDirectory>(QByteArray(kFrenchSettings).replace("Size=1", "Size=5"));
        for (const char* list : {"Rates", "Taxes", "Memory"})  // a missing one would stop start-up with a box
            QVERIFY(QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/%1.FR").arg(list), dir_->Path() + list + ".txt"));
        program_ = dir_->Path() + QStringLiteral("devical");
        QVERIFY(QFile::copy(QStringLiteral(DEVICAL_BINARY), program_));

        // The started programs inherit these: no test touches the real session's directories.
        runtime_ = std::make_unique<QTemporaryDir>();
        cache_ = std::make_unique<QTemporaryDir>();
        QVERIFY(SetMode(runtime_->path(), 0700));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_->path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_->path()));
    }
    void cleanup() {
        qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress_);  // as the tests found it
        if (busAddress_.isEmpty()) qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("HOME", home_);
        if (runtime_) SetMode(runtime_->path(), 0700);  // so that it can be removed
        dir_.reset();
        runtime_.reset();
        cache_.reset();
    }

    void aSecondStartShowsTheHiddenFirstOneAndEnds() {
        QProcess first;
        Start(first, {QStringLiteral("/m")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), kStartTimeoutMs);
        QTest::qWait(300);
        QCOMPARE(StoredSize(), QByteArray("5"));  // hidden: no activation yet

        QProcess second;
        Start(second);
        QVERIFY(second.waitForFinished(kStartTimeoutMs));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(StoredSize(), QByteArray("3"), kStartTimeoutMs);  // the first one showed itself
        QCOMPARE(first.state(), QProcess::Running);
        Stop(first);
    }

    // Connections that ask nothing, or nothing it knows, are closed without showing the
    // window and without keeping the instance from answering the next start.
    void aSilentOrGarbledConnectionDoesNotStopTheInstance() {
        QProcess first;
        Start(first, {QStringLiteral("/m")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), kStartTimeoutMs);

        Socket silent, unfinished, garbled, shouting;
        QVERIFY(silent.Connect(SocketPath()));
        QVERIFY(unfinished.Connect(SocketPath()) && unfinished.Send("sho"));
        QVERIFY(garbled.Connect(SocketPath()) && garbled.Send(QByteArray(4096, '\xff')));
        QVERIFY(shouting.Connect(SocketPath()) && shouting.Send("SHOW\n"));
        QTest::qWait(300);
        QCOMPARE(StoredSize(), QByteArray("5"));  // still hidden

        QProcess second;
        Start(second);
        QVERIFY(second.waitForFinished(kStartTimeoutMs));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(StoredSize(), QByteArray("3"), kStartTimeoutMs);
        QCOMPARE(first.state(), QProcess::Running);
        Stop(first);
    }

    void aHiddenStartKeepsTheWindowInTheTray() {
        QProcess process;
        Start(process, {QStringLiteral("/M")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), kStartTimeoutMs);
        QTest::qWait(300);
        QCOMPARE(StoredSize(), QByteArray("5"));  // never activated
        Stop(process);
    }

    // The start opens the session bus early only for the desktop's platforms, whose
    // accessibility bridge talks over it: a start without a display connects to no bus.
    void anOffscreenStartOpensNoSessionBus() {
        Socket bus;
        const QString path = runtime_->path() + QStringLiteral("/bus");
        QVERIFY(bus.Listen(path));
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(path));
        StartsWithWindowAndGuard();
        QVERIFY(!bus.HasConnected());
    }

    void theBusIsOpenedEarlyForTheDesktopsPlatformsOnly_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("opened");
        QTest::newRow("the desktop's own") << QString() << true;
        QTest::newRow("X11 with an option") << QStringLiteral("xcb:nograb") << true;
        QTest::newRow("Wayland, else X11") << QStringLiteral("wayland-egl;xcb") << true;
        QTest::newRow("offscreen") << QStringLiteral("offscreen") << false;
        QTest::newRow("offscreen, else X11") << QStringLiteral("offscreen;xcb") << false;
        QTest::newRow("framebuffer") << QStringLiteral("linuxfb") << false;
    }
    void theBusIsOpenedEarlyForTheDesktopsPlatformsOnly() {
        QFETCH(QString, platform);
        QFETCH(bool, opened);
        QCOMPARE(devical::platform::PlatformUsesSessionBus(platform), opened);
    }

    void theSocketLivesInTheRuntimeDirectory() {
        const QString socket = SocketPath();
        QCOMPARE(QFileInfo(socket).absolutePath(), runtime_->path());
        StartsWithWindowAndGuard();

        // Nothing of this program directory's instance in the shared temporary directory.
        const QString hash = QFileInfo(socket).fileName().section(QLatin1Char('-'), -1);
        const QStringList shared = QDir(QDir::tempPath())
                                       .entryList({QStringLiteral("devical*") + hash + QLatin1Char('*')},
                                                  QDir::AllEntries | QDir::System | QDir::Hidden);
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join(QLatin1Char(' '))));
    }

    void aPlainFileAtTheSocketPathIsReplaced() {
        QFile planted(SocketPath());
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.close();
        StartsWithWindowAndGuard();
    }

    // A start killed while it held the lock leaves the file: the next start takes the lock
    // at once and comes up guarded, not unguarded after a wait.
    void aLockFileLeftByAKilledStartDoesNotHoldUpTheNext() {
        QFile left(SocketPath() + QStringLiteral(".lock"));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write("4242\ndevical\nhost\n");
        left.close();
        StartsWithWindowAndGuard();
    }

    // Another user's socket answers, but must never be taken for a running instance.
    void aSocketOfAnotherUserIsNeitherAskedNorKept() {
        Socket planted;
        QVERIFY(planted.Listen(SocketPath()));
        QCOMPARE(::chown(QFile::encodeName(SocketPath()).constData(), kNobody, kNobody), 0);
        StartsWithWindowAndGuard();
        QCOMPARE(planted.HasConnected(), false);
    }

    void anUnsafeRuntimeDirectoryIsNotUsed_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("unset") << QStringLiteral("unset");
        QTest::newRow("open to all") << QStringLiteral("open");
        QTest::newRow("a link") << QStringLiteral("link");
        QTest::newRow("unset, with a relative cache home") << QStringLiteral("relative");  // ignored for HOME's
    }
    void anUnsafeRuntimeDirectoryIsNotUsed() {
        QFETCH(QString, kind);
        const QString link = cache_->path() + QStringLiteral("/runtime-link");
        if (kind == QLatin1String("unset") || kind == QLatin1String("relative")) {
            qunsetenv("XDG_RUNTIME_DIR");
            if (kind == QLatin1String("relative")) qputenv("XDG_CACHE_HOME", "cache");
            qputenv("HOME", QFile::encodeName(cache_->path()));
        } else if (kind == QLatin1String("open")) {
            QVERIFY(SetMode(runtime_->path(), 0777));
        } else {
            QVERIFY(QFile::link(runtime_->path(), link));
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(link));
        }
        const QString own = cache_->path() + (kind == "relative" ? "/.cache/devical" : "/devical");
        QCOMPARE(QFileInfo(SocketPath()).absolutePath(), own);
        QCOMPARE(Status(own).st_mode & 0777, mode_t(0700));
        StartsWithWindowAndGuard();
        QVERIFY(QDir(runtime_->path()).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    // An instance that ends removes its socket, but never one that has taken its place.
    void anEndingInstanceRemovesOnlyItsOwnSocket() {
        using devical::platform::SingleInstance;
        {
            SingleInstance instance(dir_->Path());
            QCOMPARE(instance.Claim(), SingleInstance::Outcome::ThisInstance);
            QVERIFY(IsOwnSocket(SocketPath()));
            QVERIFY(Listening());
        }
        QCOMPARE(Status(SocketPath()).st_mode, mode_t(0));

        Socket replacement;
        {
            SingleInstance instance(dir_->Path());
            QCOMPARE(instance.Claim(), SingleInstance::Outcome::ThisInstance);
            QVERIFY(QFile::remove(SocketPath()));
            QVERIFY(replacement.Listen(SocketPath()));
        }
        QVERIFY(IsOwnSocket(SocketPath()));
        QVERIFY(Listening());
    }

    // Where the runtime directory takes no socket, the guard stays, there or in the cache.
    void anUnusableRuntimeDirectoryStillGuards_data() {
        QTest::addColumn<bool>("tooLong");
        QTest::newRow("a path too long for the address") << true;
        QTest::newRow("not writable") << false;  // as root it is, and used
    }
    void anUnusableRuntimeDirectoryStillGuards() {
        QFETCH(bool, tooLong);
        const QString deep = runtime_->path() + QLatin1Char('/') + QString(100, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep) && SetMode(deep, 0700) && SetMode(runtime_->path(), tooLong ? 0700 : 0500));
        if (tooLong) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));

        QProcess first, second;
        Start(first, {QStringLiteral("/m")});  // Listening() has no long address
        QTRY_VERIFY_WITH_TIMEOUT(IsOwnSocket(SocketPath()), kStartTimeoutMs);
        Start(second);
        QVERIFY(second.waitForFinished(kStartTimeoutMs));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(StoredSize(), QByteArray("3"), kStartTimeoutMs);
        Stop(first);
    }

    // However the program directory is spelled, the instance is the same.
    void everySpellingOfTheProgramDirectoryMeetsOneInstance_data() {
        QTest::addColumn<QString>("spelling");  // <c> the cache, <d> the program directory, <n> the latter's name
        QTest::newRow("through a link") << QStringLiteral("<c>/link/");
        QTest::newRow("through a link on the way") << QStringLiteral("<c>/up/link");
        QTest::newRow("through a link, then ..") << QStringLiteral("<c>/link/../<n>/");
        QTest::newRow("through ..") << QStringLiteral("<d>../<n>");
    }
    void everySpellingOfTheProgramDirectoryMeetsOneInstance() {
        QFETCH(QString, spelling);
        QVERIFY(QFile::link(dir_->Path(), cache_->path() + QStringLiteral("/link")));
        QVERIFY(QFile::link(cache_->path(), cache_->path() + QStringLiteral("/up")));
        spelling.replace(QLatin1String("<c>"), cache_->path())
            .replace(QLatin1String("<d>"), dir_->Path())
            .replace(QLatin1String("<n>"), QDir(dir_->Path()).dirName());
        devical::platform::SingleInstance instance(spelling);
        QCOMPARE(instance.Claim(), devical::platform::SingleInstance::Outcome::ThisInstance);
        QSignalSpy shown(&instance, &devical::platform::SingleInstance::showRequested);
        QProcess start;  // from the program's own directory
        Start(start);
        QVERIFY(QTest::qWaitFor([&] { return start.state() == QProcess::NotRunning; }, kStartTimeoutMs));
        QCOMPARE(start.exitCode(), 0);
        QCOMPARE(shown.count(), 1);
        // Also for a directory made after the guard was taken, as a user's first start makes it.
        const QString before = devical::platform::SingleInstance(spelling + QStringLiteral("/new/")).SocketPath();
        QVERIFY(QDir().mkdir(dir_->Path() + QStringLiteral("new")));
        QCOMPARE(devical::platform::SingleInstance(dir_->Path() + QStringLiteral("new")).SocketPath(), before);
    }

    // A start that cannot hand over (a stopped instance never answers; another session has
    // another runtime directory) never becomes a second writer: it names the holder, ends with
    // status 1 and writes nothing.
    void aSecondWriterOnTheDirectoryIsRefused_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("the running one hung") << QStringLiteral("hung");
        QTest::newRow("another runtime directory") << QStringLiteral("runtime");
    }
    void aSecondWriterOnTheDirectoryIsRefused() {
        QFETCH(QString, way);
        QProcess first, next;
        Start(first, {QStringLiteral("/m")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), kStartTimeoutMs);
        // The socket answers before the directory's lock is taken: stopped between the two,
        // the first would leave the next start the directory.
        const QByteArray holder = "process " + QByteArray::number(first.processId()) + " ";
        QTRY_VERIFY_WITH_TIMEOUT(dir_->Read("DEVICAL.LCK").startsWith(holder), kStartTimeoutMs);
        QTemporaryDir otherRuntime;
        if (way == QLatin1String("hung")) {
            QCOMPARE(::kill(pid_t(first.processId()), SIGSTOP), 0);
        } else {
            QVERIFY(SetMode(otherRuntime.path(), 0700));
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(otherRuntime.path()));
        }
        Start(next);
        // Said on stderr, then in a box that ends the start once read.
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT(
            (said += next.readAllStandardError()).contains("process " + QByteArray::number(first.processId())),
            kPastAHungInstanceMs);
        QTest::qWait(300);
        QCOMPARE(StoredSize(), QByteArray("5"));  // nothing written
        QCOMPARE(next.state(), QProcess::Running);
        Stop(next);
        ::kill(pid_t(first.processId()), SIGCONT);
        Stop(first);
    }

    void racingStartsLeaveOneInstance_data() {
        QTest::addColumn<bool>("staleSocket");
        QTest::newRow("nothing at the socket path") << false;
        QTest::newRow("a stale socket at the socket path") << true;
    }
    void racingStartsLeaveOneInstance() {
        QFETCH(bool, staleSocket);
        if (staleSocket) LeaveStaleSocket();
        for (int pair = 0; pair < kRacingPairs; ++pair) {
            const QByteArray which = "pair " + QByteArray::number(pair);
            // Killing the last survivor left its socket behind.
            if (!staleSocket) QFile::remove(SocketPath());
            QCOMPARE(IsOwnSocket(SocketPath()), staleSocket);
            ForgetActivation();

            QProcess first, second;
            Launch(first);
            Launch(second);
            QVERIFY(first.waitForStarted() && second.waitForStarted());
            const bool oneEnded = QTest::qWaitFor(
                [&] { return first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning; },
                kStartTimeoutMs);
            QVERIFY2(oneEnded, which.constData());
            QProcess& ended = first.state() == QProcess::NotRunning ? first : second;
            QProcess& survivor = &ended == &first ? second : first;
            QVERIFY2(ended.exitStatus() == QProcess::NormalExit && ended.exitCode() == 0, which.constData());
            QVERIFY2(survivor.state() == QProcess::Running, which.constData());
            QVERIFY2(Listening(), which.constData());
            QVERIFY2(QTest::qWaitFor([&] { return StoredSize() == "3"; }, kStartTimeoutMs), which.constData());
            Stop(survivor);
        }
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
