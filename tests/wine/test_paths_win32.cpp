#include "tests/wine/test_paths_win32.h"

#include <windows.h>

namespace {

std::string Narrow(const wchar_t* wide) {
    int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    return text;
}

} // namespace

std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.empty() || unixPath[0] != '/')
        return unixPath;
    // Wine maps its Unix file system into a drive; it says which, when asked.
    using ToDos = wchar_t*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (wchar_t* dos = toDos != nullptr ? toDos(unixPath.c_str()) : nullptr) {
        std::string path = Narrow(dos);
        HeapFree(GetProcessHeap(), 0, dos);
        return path;
    }
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

const TestPaths& Paths() {
    static const TestPaths paths = {WindowsPath(ORVIK_TEST_HOST_EXE), WindowsPath(ORVIK_PLUGIN_DLL),
                                    WindowsPath(ORVIK_SIM_DIR), WindowsPath(ORVIK_SIM_FOUR_DIR)};
    return paths;
}
