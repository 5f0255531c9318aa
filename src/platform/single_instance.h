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
    explicit SingleInstance(const QString& programDirectory, QObject* parent = nullptr);

    // True when another instance answered and was asked to show itself.
    bool AskRunningInstanceToShow();

    // Starts answering later starts; false when the name cannot be taken.
    bool Listen();

    QString ServerName() const { return name_; }

signals:
    void showRequested();

private:
    QString name_;
    QLocalServer server_;
};

}  // namespace devical::platform
