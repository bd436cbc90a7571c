#include <thread>

#include "support/test_thread.h"

void RunBeside(const std::function<void()>& beside, const std::function<void()>& here) {
    std::thread other(beside);
    here();
    other.join();
}
