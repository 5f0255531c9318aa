// Two slow first uses of the desktop that the first frame waits for, begun on worker
// threads while the main thread reads the files and builds the window:
// - fontconfig's set-up and Qt's list of fonts, which the first text measured or painted
//   would otherwise make on the main thread;
// - the session bus, which the desktop's accessibility bridge opens, and waits for, when
//   the first widget gets a text (where no bus runs yet, that means starting one).
#pragma once

#include <thread>

namespace devical::platform {

class StartWarmUp {
public:
    StartWarmUp();
    ~StartWarmUp();  // waits for the workers, so that none outlives the application
    StartWarmUp(const StartWarmUp&) = delete;
    StartWarmUp& operator=(const StartWarmUp&) = delete;

private:
    std::thread fonts_;
    std::thread sessionBus_;
};

}  // namespace devical::platform
