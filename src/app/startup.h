// Program entry: one instance per user and program directory, the checks for the two
// files the program cannot run without, the windows, and the event loop.
#pragma once

namespace devical::app {

int RunDevical(int argc, char** argv);

}  // namespace devical::app
