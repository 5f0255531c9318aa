#include "platform/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace devical::platform {

namespace {
constexpr int kConnectTimeoutMs = 500;
// Long enough for another start to finish its check; a holder stuck longer than this
// leaves us running unguarded rather than not at all.
constexpr int kLockWaitMs = 5000;
const QByteArray kShowRequest = "show\n";

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

// The session's runtime directory when it is safe, else a directory of our own in the
// user's cache; empty when neither is.
QString PrivateDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateDirectory(runtime)) return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty()) return {};
    const QString own = cache + QStringLiteral("/devical");
    QDir().mkpath(cache);
    ::mkdir(QFile::encodeName(own).constData(), 0700);  // fails harmlessly when it exists
    return IsPrivateDirectory(own) ? own : QString();
}

// Starts wait for each other here; an instance that was killed leaves a lock that the
// next start takes over, whatever its age.
class StartLock {
public:
    explicit StartLock(const QString& socketPath) : lock_(socketPath + QStringLiteral(".lock")) {
        lock_.setStaleLockTime(0);
        held_ = lock_.tryLock(kLockWaitMs);
    }
    bool Held() const { return held_; }

private:
    QLockFile lock_;
    bool held_ = false;
};

}  // namespace

SingleInstance::SingleInstance(const QString& programDirectory, QObject* parent) : QObject(parent) {
    const QString directory = PrivateDirectory();
    if (directory.isEmpty()) return;
    const QByteArray directoryHash =
        QCryptographicHash::hash(programDirectory.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    path_ = directory + QStringLiteral("/devical-") + QString::fromLatin1(directoryHash);
}

SingleInstance::~SingleInstance() {
    if (!server_.isListening()) return;
    // Closing removes the socket file: a start that has just found us gone and is
    // listening in our place must not lose its socket to it.
    StartLock lock(path_);
    server_.close();
}

SingleInstance::Outcome SingleInstance::Claim() {
    if (path_.isEmpty()) return Outcome::NoGuard;
    StartLock lock(path_);
    if (!lock.Held()) return Outcome::NoGuard;
    if (IsOwnSocket(path_) && AskRunningInstanceToShow()) return Outcome::AnotherInstanceShown;
    return Listen() ? Outcome::ThisInstance : Outcome::NoGuard;
}

bool SingleInstance::AskRunningInstanceToShow() const {
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen() {
    // Nobody answered: what is left at the path is stale or not ours, and the directory
    // is ours alone, so it may go.
    ::unlink(QFile::encodeName(path_).constData());
    // The directory already keeps others out; without options the socket is bound in
    // place instead of renamed over whatever stands there.
    server_.setSocketOptions(QLocalServer::NoOptions);
    if (!server_.listen(path_)) return false;
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_.nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->canReadLine() && client->readLine() == kShowRequest) emit showRequested();
            });
        }
    });
    return true;
}

}  // namespace devical::platform
