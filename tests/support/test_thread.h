#pragma once
// A second thread for tests of code that two threads share: the platform's own threads, since the
// Windows toolchain's standard library has no std::thread.
#include <functional>

// Runs beside on a new thread while here runs on the calling one; returns when both have ended.
void RunBeside(const std::function<void()>& beside, const std::function<void()>& here);
