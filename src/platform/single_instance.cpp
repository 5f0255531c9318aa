#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <unistd.h>

namespace devical::platform {

namespace {
constexpr int kConnectTimeoutMs = 500;
const QByteArray kShowRequest = "show\n";
}  // namespace

SingleInstance::SingleInstance(const QString& programDirectory, QObject* parent) : QObject(parent) {
    const QByteArray directoryHash =
        QCryptographicHash::hash(programDirectory.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    name_ = QStringLiteral("devical-%1-%2").arg(::getuid()).arg(QString::fromLatin1(directoryHash));
}

bool SingleInstance::AskRunningInstanceToShow() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen() {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name_)) {
        // A socket left behind by an instance that did not end cleanly.
        QLocalServer::removeServer(name_);
        if (!server_.listen(name_)) return false;
    }
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
