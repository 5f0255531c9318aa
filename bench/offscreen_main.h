// main() of the benchmarks that drive the windows: offscreen, and any message box is a
// failure (it would wait for a click that never comes).
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "platform/message_box.h"

inline int RunOffscreenBenchmarks(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    devical::platform::SetMessageHandler([](devical::platform::MessageKind, const QString& text) {
        qFatal("unexpected message: %s", qPrintable(text));
        return devical::platform::MessageAnswer::Ok;
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
