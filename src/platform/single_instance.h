// One running Devical per user and program directory: a second start asks the first to
// show its window, then ends without creating a window or reading a file.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace devical::platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        AnotherInstanceShown,  // a running instance answered and was asked to show itself
        ThisInstance,          // this process answers later starts
        NoGuard,               // no safe place for the socket: run without the guard
    };

    explicit SingleInstance(const QString& programDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks a running instance to show itself, or becomes the instance, as one step that
    // racing starts take one at a time.
    Outcome Claim();

    // The socket's full path, in a directory only this user can enter; empty without one.
    QString SocketPath() const { return path_; }

signals:
    void showRequested();

private:
    bool AskRunningInstanceToShow() const;
    bool Listen();

    QString path_;
    QLocalServer server_;
};

}  // namespace devical::platform
