// Program entry: one instance per user and program directory, the checks for the two
// files the program cannot run without, the windows, and the event loop.
#pragma once

#include <QString>

namespace devical::app {

// The message that stops the program when its language or settings file is missing (the
// language file is tested first), or empty when both are there.
QString MissingFileMessage(const QString& programDirectory);

int RunDevical(int argc, char** argv);

}  // namespace devical::app
