// Start-up as the desktop does it: real processes in their own program directory.
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include "platform/single_instance.h"
#include "window_test_support.h"

using namespace devical::testing;

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    // A program directory holding its own copy of the program. The stored size "5" is
    // rewritten as "3" by the first activation, which tells when the window was shown.
    std::unique_ptr<TestProgramDirectory> dir_;
    QString program_;

    void Start(QProcess& process, const QStringList& arguments) {
        process.setProgram(program_);
        process.setArguments(arguments);
        process.setWorkingDirectory(QDir::tempPath());
        process.start();
        QVERIFY(process.waitForStarted());
    }
    bool Listening() {
        QLocalSocket probe;  // connects without asking anything
        probe.connectToServer(devical::platform::SingleInstance(dir_->Path()).ServerName());
        return probe.waitForConnected(100);
    }
    QByteArray StoredSize() const { return dir_->Setting("Windows", "Size"); }
    static void Stop(QProcess& process) {
        process.kill();
        process.waitForFinished();
    }

private slots:
    void init() {
        dir_ = std::make_unique<TestProgramDirectory>(QByteArray(kFrenchSettings).replace("Size=1", "Size=5"));
        for (const char* list : {"Rates.txt", "Taxes.txt", "Memory.txt"})  // a missing one would stop start-up with a box
            QVERIFY(QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/") + list, dir_->Path() + list));
        program_ = dir_->Path() + QStringLiteral("devical");
        QVERIFY(QFile::copy(QStringLiteral(DEVICAL_BINARY), program_));
    }
    void cleanup() { dir_.reset(); }

    void aSecondStartShowsTheHiddenFirstOneAndEnds() {
        QProcess first;
        Start(first, {QStringLiteral("/m")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 10000);
        QTest::qWait(300);
        QCOMPARE(StoredSize(), QByteArray("5"));  // hidden: no activation yet

        QProcess second;
        Start(second, {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(StoredSize(), QByteArray("3"), 10000);  // the first one showed itself
        QCOMPARE(first.state(), QProcess::Running);
        Stop(first);
    }

    void onlyTheFirstArgumentHidesTheWindow() {
        QProcess process;
        Start(process, {QStringLiteral("x"), QStringLiteral("/M")});
        QTRY_COMPARE_WITH_TIMEOUT(StoredSize(), QByteArray("3"), 10000);
        Stop(process);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
