// Where this program's output goes under CTest. A test host's window may start Wine's desktop
// process, which takes this program's standard error as its own and keeps it for as long as any
// window of the Wine session is open; were that CTest's pipe, CTest would wait that long (minutes,
// with tests running back to back) and fail a test that passed in seconds as timed out. So CTest
// runs this program through a file (cmake/wine-run-gui.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(TestOutput, UnderCTestGoesToAFileThatWinesDesktopMayKeep) {
    if (std::getenv("ORVIK_UNDER_CTEST") == nullptr)
        GTEST_SKIP() << "run by hand: the output is the caller's";
    for (DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        EXPECT_EQ(GetFileType(GetStdHandle(which)), static_cast<DWORD>(FILE_TYPE_DISK))
            << (which == STD_ERROR_HANDLE ? "standard error" : "standard output") << " is not a file";
}
