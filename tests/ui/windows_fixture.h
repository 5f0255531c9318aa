// Every window of the program over a fresh program directory, with the message boxes
// recorded: what the tests of the lists and of the language choice share.
#pragma once

#include <QCoreApplication>
#include <QTest>
#include <memory>

#include "app/windows.h"
#include "window_test_support.h"

namespace devical::testing {

class WindowsFixture {
protected:
    // The directory is ready, its files written by the test's init.
    void StartFixture() {
        dir_ = std::make_unique<TestProgramDirectory>();
        messages_ = std::make_unique<MessageRecorder>();
    }
    // Empty when every box shown was expected and every expected box came.
    QString EndFixture() {
        windows_.reset();
        const QString problems = messages_->Problems();
        messages_.reset();
        dir_.reset();
        return problems;
    }
    app::DevicalWindows& OpenWindows() {
        windows_ = std::make_unique<app::DevicalWindows>(dir_->Path());
        return *windows_;
    }
    // The main window active again, as after a list or dialog has closed. A window that
    // keeps the activation (the language choice on a first run) shortens the wait.
    void BackToMain(int waitMs = 5000) {
        auto& calc = windows_->Calc;
        QCoreApplication::processEvents();  // the windows shown and hidden meanwhile take their turn
        calc.show();
        calc.activateWindow();
        if (!QTest::qWaitForWindowActive(&calc, waitMs)) calc.FormActivate();
    }

    std::unique_ptr<TestProgramDirectory> dir_;
    std::unique_ptr<MessageRecorder> messages_;
    std::unique_ptr<app::DevicalWindows> windows_;
};

}  // namespace devical::testing
