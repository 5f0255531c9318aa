#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

namespace devical::platform {

namespace {
// Connecting, asking and hearing the answer. A running instance answers from its event
// loop at once; one silent this long is hung, stopped or busy beyond use.
constexpr int kAnswerTimeoutMs = 3000;
// Long enough for another start to finish its check, including a wait for an answer; a
// holder stuck longer than this leaves us running unguarded rather than not at all.
constexpr int kLockWaitMs = 5000;
constexpr int kLockRetryMs = 2;
// A start sends its request as soon as it is connected: a connection silent for longer
// than this is closed unheard.
constexpr int kRequestTimeoutMs = 1000;
// Out of descriptors, accepting pauses this long instead of waking the event loop
// over and over for connections it cannot take yet.
constexpr int kAcceptPauseMs = 100;
constexpr std::string_view kShowRequest = "show\n";
constexpr std::string_view kShownAnswer = "shown\n";

bool Inspect(const QString& path, struct stat& status) {
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// Only this user may create, replace or connect to anything in such a directory.
bool IsPrivateDirectory(const QString& path) {
    struct stat status;
    return path.startsWith(QLatin1Char('/')) && Inspect(path, status) && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

bool IsOwnSocket(const QString& path) {
    struct stat status;
    return Inspect(path, status) && S_ISSOCK(status.st_mode) && status.st_uid == ::getuid();
}

QString Describe(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The session's runtime directory when it is safe and we may make files in it; empty otherwise.
QString RuntimeDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!IsPrivateDirectory(runtime)) return {};
    return ::access(QFile::encodeName(runtime).constData(), W_OK | X_OK) == 0 ? runtime : QString();
}

// Makes every missing directory of path, private as the base directory rules ask.
bool MakePrivatePath(const QByteArray& path) {
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        struct stat status;
        if (::mkdir(part.constData(), 0700) != 0 &&
            (::stat(part.constData(), &status) != 0 || !S_ISDIR(status.st_mode)))
            return false;
        if (slash < 0) return true;
    }
}

// A directory of our own in the user's cache, or empty. XDG_CACHE_HOME counts only when
// absolute: the base directory rules say a relative one is to be ignored.
QString CacheDirectory() {
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.startsWith(QLatin1Char('/'))) {
        const QString home = qEnvironmentVariable("HOME");
        if (!home.startsWith(QLatin1Char('/'))) return {};
        cache = home + QStringLiteral("/.cache");
    }
    const QString own = cache + QStringLiteral("/devical");
    MakePrivatePath(QFile::encodeName(own));
    return IsPrivateDirectory(own) ? own : QString();
}

// The program directory with every link, "." and ".." resolved, so that each way of
// naming it meets the same instance. A part not made yet (the user's directory before
// the first start seeds it) keeps its name under the part that exists.
QByteArray ResolvedDirectory(const QString& directory) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path(QFile::encodeName(directory).toStdString());
    if (const fs::path absolute = fs::absolute(path, error); !error) path = absolute;
    if (const fs::path resolved = fs::weakly_canonical(path, error); !error) path = resolved;
    QByteArray name = QByteArray::fromStdString(path.lexically_normal().native());
    while (name.size() > 1 && name.endsWith('/'))
        name.chop(1);
    return name;
}

// The address of a socket. A path too long for sun_path is reached through a descriptor
// of its directory, whose /proc name is short.
class SocketAddress {
public:
    explicit SocketAddress(const QString& path) {
        QByteArray name = QFile::encodeName(path);
        if (name.isEmpty()) return;
        if (size_t(name.size()) >= sizeof address_.sun_path) {  // room for the '\0'
            const qsizetype slash = name.lastIndexOf('/');
            directory_ = ::open(name.left(std::max<qsizetype>(slash, 1)).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (directory_ < 0) return;
            name = "/proc/self/fd/" + QByteArray::number(directory_) + name.mid(slash);
            if (size_t(name.size()) >= sizeof address_.sun_path) return;
        }
        address_.sun_family = AF_UNIX;
        std::memcpy(address_.sun_path, name.constData(), size_t(name.size()));
        valid_ = true;
    }
    ~SocketAddress() {
        if (directory_ >= 0) ::close(directory_);
    }
    SocketAddress(const SocketAddress&) = delete;
    SocketAddress& operator=(const SocketAddress&) = delete;

    bool Valid() const { return valid_; }
    const sockaddr* Generic() const { return reinterpret_cast<const sockaddr*>(&address_); }
    socklen_t Length() const { return sizeof address_; }

private:
    sockaddr_un address_{};
    int directory_ = -1;
    bool valid_ = false;
};

// Every socket of ours: never inherited by a program we start, never blocking the thread.
int StreamSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

// Waits until fd is ready for events or the deadline passes; false when it passed.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, int(deadline.remainingTime()));
        if (ready > 0) return true;  // errors too: the next call on fd tells them
        if (ready == 0 || errno != EINTR) return false;
    }
}

// A socket connected to address before the deadline, or -1 with errno telling why:
// ETIMEDOUT when something listens there but did not take us in time.
int ConnectWithin(const SocketAddress& address, const QDeadlineTimer& deadline) {
    const int fd = StreamSocket();
    if (fd < 0) return -1;
    int error = 0;
    for (;;) {
        if (::connect(fd, address.Generic(), address.Length()) == 0 || errno == EISCONN) return fd;
        error = errno;
        if (error == EINTR) continue;
        if (error == EAGAIN && !deadline.hasExpired()) {
            // The instance is there but has as many connections waiting as it takes.
            ::poll(nullptr, 0, int(std::min<qint64>(10, deadline.remainingTime())));
            continue;
        }
        if (error == EAGAIN) error = ETIMEDOUT;
        if (error == EINPROGRESS || error == EALREADY) {
            socklen_t length = sizeof error;
            if (!WaitFor(fd, POLLOUT, deadline)) {
                error = ETIMEDOUT;
            } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
                return fd;
            }
        }
        ::close(fd);
        errno = error;
        return -1;
    }
}

// Sends all of data before the deadline; false when the peer went away or took too long.
bool SendWithin(int fd, std::string_view data, const QDeadlineTimer& deadline) {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent >= 0) {
            data.remove_prefix(size_t(sent));
        } else if (errno != EINTR && (errno != EAGAIN || !WaitFor(fd, POLLOUT, deadline))) {
            return false;
        }
    }
    return true;
}

// Whether exactly expected arrives before the deadline; never reads past it.
bool ReceiveWithin(int fd, std::string_view expected, const QDeadlineTimer& deadline) {
    char buffer[16];
    while (!expected.empty()) {
        const ssize_t length = ::recv(fd, buffer, std::min(expected.size(), sizeof buffer), 0);
        if (length > 0) {
            if (expected.substr(0, size_t(length)) != std::string_view(buffer, size_t(length))) return false;
            expected.remove_prefix(size_t(length));
        } else if (length == 0 || (errno != EINTR && (errno != EAGAIN || !WaitFor(fd, POLLIN, deadline)))) {
            return false;
        }
    }
    return true;
}

// Starts wait for each other here. The lock is the kernel's, on a file that stays: it goes
// with the process that holds it, so a killed instance never leaves a start waiting, and
// taking it costs neither a write nor a sync.
class StartLock {
public:
    explicit StartLock(const QString& socketPath) {
        const QByteArray path = QFile::encodeName(socketPath + QStringLiteral(".lock"));
        fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        const QDeadlineTimer deadline(kLockWaitMs);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
                error_ = errno == EWOULDBLOCK ? ETIMEDOUT : errno;
                ::close(fd_);
                fd_ = -1;
                return;
            }
            ::poll(nullptr, 0, kLockRetryMs);
        }
    }
    ~StartLock() {
        if (fd_ >= 0) ::close(fd_);  // and with it the lock
    }
    StartLock(const StartLock&) = delete;
    StartLock& operator=(const StartLock&) = delete;
    bool Held() const { return fd_ >= 0; }
    // Why it is not held: ETIMEDOUT when another start kept it, else why the file failed.
    int Error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

// One connection to the running instance. Its request is read as it arrives, never
// waited for; the connection is closed after the first line, at its end, after more
// bytes than any request holds, or when it stays silent too long.
class Request : public QObject {
public:
    Request(int fd, SingleInstance* instance)
        : QObject(instance), fd_(fd), instance_(instance), readable_(fd, QSocketNotifier::Read, this) {
        connect(&readable_, &QSocketNotifier::activated, this, [this] { Read(); });
        QTimer::singleShot(kRequestTimeoutMs, this, [this] { Close(); });
    }
    ~Request() override {
        if (fd_ >= 0) ::close(fd_);
    }

private:
    void Read() {
        char buffer[kShowRequest.size()];
        while (fd_ >= 0) {
            const ssize_t length = ::read(fd_, buffer, kShowRequest.size() - received_.size());
            if (length < 0 && errno == EINTR) continue;
            if (length < 0 && errno == EAGAIN) return;  // the rest comes later
            if (length > 0) {
                received_.append(buffer, size_t(length));
                if (received_.find('\n') == std::string::npos && received_.size() < kShowRequest.size()) continue;
            }
            const bool show = received_ == kShowRequest;
            // Answered before showing: the window may open a dialog and its own event
            // loop, and the start waiting must not take that for a hung instance. The
            // answer is far smaller than a fresh connection's buffer.
            if (show) ::send(fd_, kShownAnswer.data(), kShownAnswer.size(), MSG_NOSIGNAL);
            Close();
            if (show) emit instance_->showRequested();
        }
    }
    void Close() {
        if (fd_ < 0) return;
        readable_.setEnabled(false);
        ::close(fd_);
        fd_ = -1;
        deleteLater();
    }

    int fd_;
    SingleInstance* instance_;
    QSocketNotifier readable_;
    std::string received_;
};

}  // namespace

SingleInstance::SingleInstance(const QString& programDirectory, QObject* parent) : QObject(parent) {
    const QByteArray directoryHash =
        QCryptographicHash::hash(ResolvedDirectory(programDirectory), QCryptographicHash::Sha1).toHex().left(16);
    name_ = QStringLiteral("/devical-") + QString::fromLatin1(directoryHash);
    const QString runtime = RuntimeDirectory();
    inRuntimeDirectory_ = !runtime.isEmpty();
    const QString directory = inRuntimeDirectory_ ? runtime : CacheDirectory();
    if (!directory.isEmpty()) path_ = directory + name_;
}

SingleInstance::~SingleInstance() {
    if (listener_ < 0) return;
    // The socket file goes with us, under the lock and only while it is the one we bound:
    // a start that has just found us gone or hung and is listening in our place must not
    // lose its socket to us.
    StartLock lock(path_);
    delete incoming_;
    ::close(listener_);
    struct stat status;
    if (Inspect(path_, status) && status.st_dev == device_ && status.st_ino == inode_)
        ::unlink(QFile::encodeName(path_).constData());
}

SingleInstance::Outcome SingleInstance::Claim() {
    Outcome outcome = Outcome::NoGuard;
    if (!path_.isEmpty() && ClaimInDirectory(outcome) == Step::Done) return outcome;
    // A runtime directory that looked right but takes no file or socket: the cache's then.
    if (inRuntimeDirectory_) {
        inRuntimeDirectory_ = false;
        const QString cache = CacheDirectory();
        path_ = cache.isEmpty() ? QString() : cache + name_;
        if (!path_.isEmpty() && ClaimInDirectory(outcome) == Step::Done) return outcome;
    }
    notice_ =
        path_.isEmpty()
            ? QStringLiteral("no private directory for the single-instance guard: running unguarded")
            : QStringLiteral("the single-instance guard cannot use %1 (%2): running unguarded").arg(path_, unusable_);
    path_.clear();
    return Outcome::NoGuard;
}

SingleInstance::Step SingleInstance::ClaimInDirectory(Outcome& outcome) {
    StartLock lock(path_);
    if (lock.Error() == ETIMEDOUT) {
        notice_ = QStringLiteral("another start held the single-instance lock for %1 s: running unguarded")
                      .arg(kLockWaitMs / 1000);
        outcome = Outcome::NoGuard;
        return Step::Done;
    }
    if (!lock.Held()) {
        unusable_ = Describe(lock.Error());
        return Step::DirectoryUnusable;
    }
    if (IsOwnSocket(path_)) {
        const Answer answer = AskRunningInstanceToShow();
        if (answer == Answer::Shown) {
            outcome = Outcome::AnotherInstanceShown;
            return Step::Done;
        }
        if (answer == Answer::Silent)
            notice_ = QStringLiteral("the running instance did not answer within %1 s: this start takes its place")
                          .arg(kAnswerTimeoutMs / 1000);
    }
    if (!Listen()) return Step::DirectoryUnusable;
    outcome = Outcome::ThisInstance;
    return Step::Done;
}

SingleInstance::Answer SingleInstance::AskRunningInstanceToShow() const {
    const SocketAddress address(path_);
    if (!address.Valid()) return Answer::Nobody;
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    const int fd = ConnectWithin(address, deadline);
    // Refused: a socket left by an instance that has gone.
    if (fd < 0) return errno == ETIMEDOUT ? Answer::Silent : Answer::Nobody;
    const bool shown = SendWithin(fd, kShowRequest, deadline) && ReceiveWithin(fd, kShownAnswer, deadline);
    ::close(fd);
    return shown ? Answer::Shown : Answer::Silent;
}

bool SingleInstance::Listen() {
    const QByteArray path = QFile::encodeName(path_);
    // Nobody answered: what is left at the path is stale, hung or not ours, and the
    // directory is ours alone, so it may go. The socket is then bound in place, not
    // renamed over whatever stands there; the directory already keeps others out.
    ::unlink(path.constData());
    const SocketAddress address(path_);
    if (!address.Valid()) {
        unusable_ = QStringLiteral("no address reaches it");
        return false;
    }
    const int fd = StreamSocket();
    if (fd < 0 || ::bind(fd, address.Generic(), address.Length()) != 0) {
        unusable_ = Describe(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    struct stat status;
    if (::listen(fd, SOMAXCONN) != 0 || !Inspect(path_, status)) {
        unusable_ = Describe(errno);
        ::close(fd);
        ::unlink(path.constData());
        return false;
    }
    listener_ = fd;
    device_ = status.st_dev;
    inode_ = status.st_ino;
    incoming_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(incoming_, &QSocketNotifier::activated, this, &SingleInstance::AcceptConnections);
    return true;
}

void SingleInstance::AcceptConnections() {
    for (;;) {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client >= 0) {
            new Request(client, this);  // closes itself, and goes with us at the latest
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            // The connections stay queued until descriptors are free again.
            incoming_->setEnabled(false);
            QTimer::singleShot(kAcceptPauseMs, incoming_, [notifier = incoming_] { notifier->setEnabled(true); });
        }
        return;  // EAGAIN: none waiting any more
    }
}

}  // namespace devical::platform
