// Program entry: one instance per user and program directory, the checks for the two
// files the program cannot run without, the windows, and the event loop.
#pragma once

#include <QString>
#include <QStringList>

namespace devical::app {

// The message that stops the program when its language or settings file is missing (the
// language file is tested first), or empty when both are there.
QString MissingFileMessage(const QString& programDirectory);

// What the command line asks for: "/M" or "/m" as the first argument, or -m or --minimized
// anywhere, start hidden; --help and --version answer and end the program. Any other
// argument starts it as usual: the toolkit's own options (-platform, -style) are the
// toolkit's, and a mistyped option must not keep the calculator from opening.
struct StartOptions {
    enum class Answer { None, Help, Version };
    Answer answer = Answer::None;
    bool startHidden = false;
    QStringList unknown;  // options not known here, by name
};
// arguments: the program's name first, as the command line gives them.
StartOptions ReadStartOptions(const QStringList& arguments);

int RunDevical(int argc, char** argv);

}  // namespace devical::app
