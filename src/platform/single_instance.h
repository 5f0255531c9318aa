// One running Devical per user and program directory: a second start asks the first to
// show its window, then ends without creating a window or reading a file.
#pragma once

#include <sys/types.h>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace devical::platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        AnotherInstanceShown,  // a running instance answered and has shown itself
        ThisInstance,          // this process answers later starts
        NoGuard,               // no safe place for the socket, or no turn at it: run without the guard
    };

    explicit SingleInstance(const QString& programDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks a running instance to show itself, or becomes the instance, as one step that
    // racing starts take one at a time. An instance that does not answer in time is
    // taken for hung, and this process listens in its place.
    Outcome Claim();

    // The socket's full path, in a directory only this user can enter; empty without one.
    QString SocketPath() const { return path_; }

    // Why the claim left this start unguarded, or why it took the place of the running
    // instance; empty when neither happened.
    QString Notice() const { return notice_; }

signals:
    void showRequested();

private:
    enum class Answer { Shown, Nobody, Silent };
    enum class Step { Done, DirectoryUnusable };

    Step ClaimInDirectory(Outcome& outcome);
    Answer AskRunningInstanceToShow() const;
    bool Listen();
    void AcceptConnections();

    QString name_;  // the socket's file name, the same for every spelling of the program directory
    QString path_;
    bool inRuntimeDirectory_ = false;  // the user's cache directory remains if it fails
    QString notice_;
    QString unusable_;   // what failed in the directory last tried
    int listener_ = -1;  // the listening socket while this process is the instance
    QSocketNotifier* incoming_ = nullptr;
    // The socket file as bound, so that only ours is ever removed.
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace devical::platform
