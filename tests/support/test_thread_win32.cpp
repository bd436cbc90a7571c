#include <windows.h>

#include <cstdlib>

#include "support/test_thread.h"

namespace {
DWORD WINAPI RunOne(LPVOID routine) {
    (*static_cast<const std::function<void()>*>(routine))();
    return 0;
}
} // namespace

void RunBeside(const std::function<void()>& beside, const std::function<void()>& here) {
    HANDLE other = CreateThread(nullptr, 0, RunOne, const_cast<std::function<void()>*>(&beside), 0, nullptr);
    if (!other)
        std::abort(); // a test that cannot start its second thread tests nothing
    here();
    WaitForSingleObject(other, INFINITE);
    CloseHandle(other);
}
