// The first frame's slowest step, begun on a worker thread while the main thread reads
// the files and builds the window: fontconfig's set-up and Qt's list of fonts, which the
// first text measured or painted would otherwise make on the main thread.
#pragma once

#include <thread>

namespace devical::platform {

class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();  // waits for the worker, so that it never outlives the application
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread worker_;
};

}  // namespace devical::platform
