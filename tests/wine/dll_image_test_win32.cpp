// The built DLLs as files: what a host and the loader see before any code runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/pe_image.h"
#include "tests/wine/test_paths_win32.h"

namespace {

PeImage LoadImage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PeImage image;
    std::string error;
    EXPECT_TRUE(ReadPeImage(bytes, &image, &error)) << path << ": " << error;
    return image;
}

std::vector<std::string> SortedNames(const PeImage& image) {
    std::vector<std::string> names;
    for (const PeExport& e : image.exports)
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct DllCase {
    const char* what;
    std::string path;
    std::vector<std::string> exports; // sorted
};

std::vector<DllCase> Dlls() {
    const std::vector<std::string> simControl = {"SimCopyLog", "SimGetState", "SimSetGetterStatus",
                                                 "SimSetPort", "SimSetScript"};
    std::vector<std::string> full = {"DoGetDataPortDirection", "DoGetInfraCode", "DoGetOutDataPort",
                                     "DoSetDataPortDirection", "DoSetOutDataPort"};
    full.insert(full.end(), simControl.begin(), simControl.end());
    std::vector<std::string> four = full;
    four.erase(std::find(four.begin(), four.end(), "DoGetOutDataPort"));
    std::sort(full.begin(), full.end());
    std::sort(four.begin(), four.end());
    return {
        {"plug-in",
         Paths().plugin,
         {"ActionManual", "Close", "Open", "Setup", "Start", "Stop", "_SetupForm"}},
        {"simulator", Paths().simulatorDir + "\\OrvikUSB.dll", full},
        {"four-export simulator", Paths().fourExportDir + "\\OrvikUSB.dll", four},
    };
}

} // namespace

TEST(DllImage, Is32BitDllWithExactlyItsExportNames) {
    for (const DllCase& dll : Dlls()) {
        SCOPED_TRACE(dll.what);
        PeImage image = LoadImage(dll.path);
        EXPECT_EQ(image.machine, kPeMachineI386);
        EXPECT_EQ(image.optionalMagic, kPeMagic32);
        EXPECT_NE(image.characteristics & kPeFileDll, 0);
        EXPECT_EQ(SortedNames(image), dll.exports);
    }
}

TEST(DllImage, PluginExportsCodeAndOneDataSymbol) {
    PeImage image = LoadImage(Paths().plugin);
    ASSERT_FALSE(image.exports.empty());
    for (const PeExport& e : image.exports) {
        const PeSection* section = image.SectionOf(e.rva);
        ASSERT_NE(section, nullptr) << e.name;
        bool code = (section->characteristics & kPeSectionExecute) != 0;
        bool writable = (section->characteristics & kPeSectionWrite) != 0;
        if (e.name == "_SetupForm") {
            EXPECT_FALSE(code) << "_SetupForm lies in " << section->name;
            EXPECT_TRUE(writable) << "_SetupForm lies in " << section->name;
        } else {
            EXPECT_TRUE(code) << e.name << " lies in " << section->name;
        }
    }
}

// A DLL (or the shipped orvik-decode.exe) that needs a runtime DLL of the compiler (libgcc,
// libstdc++, libwinpthread) would not load on a machine without the tool chain; only the system's
// own DLLs may be imported.
TEST(DllImage, ImportsOnlySystemDlls) {
    char system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(system, static_cast<UINT>(std::size(system))), 0u);
    std::vector<DllCase> images = Dlls();
    images.push_back({"orvik-decode.exe in the distribution",
                      WindowsPath(ORVIK_DIST_UNPACKED) + "\\orvik-decode.exe",
                      {}});
    for (const DllCase& dll : images) {
        SCOPED_TRACE(dll.what);
        PeImage image = LoadImage(dll.path);
        EXPECT_FALSE(image.imports.empty());
        for (const std::string& name : image.imports) {
            EXPECT_NE(Lower(name).rfind("lib", 0), 0u) << name;
            std::string inSystem = std::string(system) + "\\" + name;
            EXPECT_NE(GetFileAttributesA(inSystem.c_str()), INVALID_FILE_ATTRIBUTES)
                << name << " is not in " << system;
        }
    }
}

// Each system DLL the plug-in imports is there for a reason: the runtime, threads and files
// (KERNEL32, msvcrt), messages and the dialog (USER32), the dialog's drawing (GDI32), its common
// controls (COMCTL32), the file dialogs of its import and export (COMDLG32), the about page's
// links (SHELL32) and its version label (VERSION).
TEST(DllImage, PluginImportsExactlyTheSystemDllsItUses) {
    std::set<std::string> imports;
    for (const std::string& name : LoadImage(Paths().plugin).imports)
        imports.insert(Lower(name));
    EXPECT_EQ(imports, (std::set<std::string>{"comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
                                              "msvcrt.dll", "shell32.dll", "user32.dll", "version.dll"}));
}

TEST(DllImage, PluginFileVersionTextMatchesItsFixedVersion) {
    const std::string& path = Paths().plugin;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    char* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904E4\\FileVersion",
                               reinterpret_cast<void**>(&text), &length));
    ASSERT_GT(length, 0u);
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    std::string expected = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                           std::to_string(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(std::string(text), expected);
}
