// Two slow first uses of the desktop that the first frame waits for, begun on worker
// threads while the main thread reads the files and builds the window.
#pragma once

#include <thread>

namespace devical::platform {

class StartWarmUp {
public:
    StartWarmUp();
    ~StartWarmUp();  // waits for both, so that nothing outlives the application
    StartWarmUp(const StartWarmUp&) = delete;
    StartWarmUp& operator=(const StartWarmUp&) = delete;

private:
    std::thread fonts_;
    std::thread sessionBus_;
};

}  // namespace devical::platform
