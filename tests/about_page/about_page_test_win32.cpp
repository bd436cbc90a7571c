// The about page in a child dialog of its own, as the configuration dialog holds it: the version it
// shows for a module, the read-me under the code page the run was started with, the lazy loading,
// and what its links hand to the shell (recorded through an import hook, so no browser starts).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "setup_dialog/about_texts.h"
#include "tests/about_page/about_frame_win32.h"
#include "tests/wine/test_folder_win32.h"
#include "tools/test_host/import_hook_win32.h"

namespace {

// ---- what the page handed to the shell ---------------------------------------------------------

struct ShellCall {
    HWND owner;
    std::string verb;
    std::string file;
    bool noParameters;
    bool noDirectory;
    INT show;
};
std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI RecordingShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                        LPCSTR directory, INT show) {
    g_shellCalls.push_back({owner, verb ? verb : "(null)", file ? file : "(null)", parameters == nullptr,
                            directory == nullptr, show});
    return reinterpret_cast<HINSTANCE>(42); // success, and nothing started
}

// ---- files -------------------------------------------------------------------------------------

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::wstring FromCodePage(UINT codePage, const std::string& bytes) {
    if (bytes.empty())
        return L"";
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L'\r';
        if (c != L'\r')
            out += c;
    }
    return out;
}

std::wstring Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

// ---- the dialog around the page ----------------------------------------------------------------

std::string TempFolder() {
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(static_cast<DWORD>(std::size(temp)), temp);
    std::string folder = std::string(temp) + "orvik-about-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(counter++);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

class AboutPageTest : public testing::Test {
  protected:
    void SetUp() override {
        static bool hooked = false;
        if (!hooked) {
            hooked = HookImport(GetModuleHandleW(nullptr), "shell32.dll", "ShellExecuteA",
                                reinterpret_cast<void*>(&RecordingShellExecuteA)) != nullptr;
        }
        ASSERT_TRUE(hooked) << "the page's ShellExecuteA import could not be recorded";
        g_shellCalls.clear();
        folder_ = TempFolder();
        modulePath_ = folder_ + "OrvikPlug.dll";
    }

    void TearDown() override {
        form_.reset();
        RemoveFolder(folder_.substr(0, folder_.size() - 1));
    }

    // The frame and its child dialog, with the page created and laid out, still hidden.
    void CreatePage(const std::string& modulePath) {
        form_ = std::make_unique<AboutFrame>();
        ASSERT_TRUE(form_->Create(modulePath));
        container_ = form_->container;
        frame_ = form_->frame;
    }

    // Another page was shown, then this one again.
    void ShowAgain() {
        form_->page.SetVisible(false);
        form_->page.SetVisible(true);
        form_->Pump();
    }

    std::wstring Text(int id) const {
        HWND control = GetDlgItem(container_, id);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    std::wstring Memo() const { return Text(IdMemoHelp); }
    std::string Readme() const { return folder_ + "readme.txt"; }

    std::string folder_;
    std::string modulePath_;
    std::unique_ptr<AboutFrame> form_;
    HWND frame_ = nullptr;
    HWND container_ = nullptr;
};

constexpr int kLinks[] = {IdStaticText1, IdStaticText2, IdStaticText4, IdStaticText3};

} // namespace

// The run was started under the code page it is meant to test; the read-me must read the same
// under each.
TEST_F(AboutPageTest, RunsUnderTheIntendedAnsiCodePage) {
    const char* expected = std::getenv("ORVIK_EXPECT_ACP");
    ASSERT_NE(expected, nullptr) << "ORVIK_EXPECT_ACP names the code page of this run";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}

struct VersionCase {
    const char* name;
    const char* moduleFile; // copied in as OrvikPlug.dll; nullptr: no module there
    std::wstring label;
};

class VersionLabel : public AboutPageTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(VersionLabel, ShowsTheModulesFileVersion) {
    const VersionCase& c = GetParam();
    if (c.moduleFile != nullptr) {
        ASSERT_TRUE(CopyFileA(c.moduleFile, modulePath_.c_str(), FALSE)) << c.moduleFile;
    }
    CreatePage(modulePath_);
    EXPECT_EQ(Text(IdLblVersion), Wide(kVersionDesignText)) << "before the page is shown";
    ShowAgain();
    EXPECT_EQ(Text(IdLblVersion), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, VersionLabel,
    testing::Values(VersionCase{"built_plugin", ORVIK_PLUGIN_DLL,
                                Wide(kVersionPrefix) + FromCodePage(CP_UTF8, ORVIK_EXPECTED_FILE_VERSION)},
                    VersionCase{"no_version_resource", ORVIK_ABOUT_TEST_EXE, Wide(kVersionDesignText)},
                    VersionCase{"no_module", nullptr, Wide(kVersionDesignText)}),
    [](const testing::TestParamInfo<VersionCase>& info) { return info.param.name; });

// Looked up once per dialog: a module replaced meanwhile does not change the label.
TEST_F(AboutPageTest, LooksUpTheVersionOnce) {
    ASSERT_TRUE(CopyFileA(ORVIK_PLUGIN_DLL, modulePath_.c_str(), FALSE));
    CreatePage(modulePath_);
    ShowAgain();
    const std::wstring first = Text(IdLblVersion);
    ASSERT_TRUE(CopyFileA(ORVIK_ABOUT_TEST_EXE, modulePath_.c_str(), FALSE));
    ShowAgain();
    EXPECT_EQ(Text(IdLblVersion), first);
}

// The read-me that ships, converted from its UTF-8 source at build time, shows as that source.
TEST_F(AboutPageTest, ShowsTheShippedReadmeAsWritten) {
    ASSERT_TRUE(CopyFileA(ORVIK_BUILT_README, Readme().c_str(), FALSE));
    const std::wstring source = WithCrLf(FromCodePage(CP_UTF8, ReadFileBytes(ORVIK_README_SOURCE)));
    ASSERT_GT(source.size(), 1000u);
    CreatePage(modulePath_);
    ShowAgain();
    EXPECT_EQ(Memo(), source);
}

// Every byte but the line ends and NUL reads as Windows' own CP1251 conversion reads it.
TEST_F(AboutPageTest, DecodesEveryByteAsWindowsCp1251Does) {
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n')
            bytes += static_cast<char>(b);
    ASSERT_TRUE(WriteFileBytes(Readme(), bytes));
    CreatePage(modulePath_);
    ShowAgain();
    EXPECT_EQ(Memo(), FromCodePage(1251, bytes));
}

TEST_F(AboutPageTest, TurnsEveryLineEndIntoCrLfAndStopsAtNul) {
    ASSERT_TRUE(WriteFileBytes(Readme(), std::string("one\rtwo\nthree\r\n\r\nfour\0five", 26)));
    CreatePage(modulePath_);
    ShowAgain();
    EXPECT_EQ(Memo(), L"one\r\ntwo\r\nthree\r\n\r\nfour");
}

TEST_F(AboutPageTest, LoadsAMissingReadmeOnceItAppears) {
    CreatePage(modulePath_);
    ShowAgain();
    EXPECT_EQ(Memo(), Wide(kReadmeMissing));
    ShowAgain();
    EXPECT_EQ(Memo(), Wide(kReadmeMissing));

    ASSERT_TRUE(WriteFileBytes(Readme(), "\xCF\xF0\xE8\xE2\xE5\xF2\r\n")); // "Привет"
    EXPECT_EQ(Memo(), Wide(kReadmeMissing)) << "loaded only when the page is shown";
    ShowAgain();
    EXPECT_EQ(Memo(), L"\u041F\u0440\u0438\u0432\u0435\u0442\r\n");

    // Once lines are loaded, later showings leave the text alone.
    ASSERT_TRUE(WriteFileBytes(Readme(), "other\r\n"));
    ShowAgain();
    EXPECT_EQ(Memo(), L"\u041F\u0440\u0438\u0432\u0435\u0442\r\n");
}

TEST_F(AboutPageTest, ReadsAnEmptyReadmeAgainAtTheNextShowing) {
    ASSERT_TRUE(WriteFileBytes(Readme(), ""));
    CreatePage(modulePath_);
    ShowAgain();
    EXPECT_EQ(Memo(), L"");
    ASSERT_TRUE(WriteFileBytes(Readme(), "filled"));
    ShowAgain();
    EXPECT_EQ(Memo(), L"filled");
}

TEST_F(AboutPageTest, ShowsALongReadmeWithAScrollBar) {
    std::string bytes;
    for (int i = 1; i <= 300; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(WriteFileBytes(Readme(), bytes));
    CreatePage(modulePath_);
    ShowAgain();
    HWND memo = GetDlgItem(container_, IdMemoHelp);
    EXPECT_GE(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), 300);
    EXPECT_TRUE(GetWindowLongW(memo, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(GetWindowLongW(memo, GWL_STYLE) & ES_READONLY);
}

// A click hands the link's own caption, a complete address, to the shell, shown normally.
TEST_F(AboutPageTest, ClickOpensTheCaptionThroughTheShell) {
    CreatePage(modulePath_);
    ShowAgain();
    for (int id : kLinks) {
        SCOPED_TRACE(id);
        g_shellCalls.clear();
        HWND link = GetDlgItem(container_, id);
        SendMessageW(link, BM_CLICK, 0, 0);
        form_->Pump();
        ASSERT_EQ(g_shellCalls.size(), 1u);
        const ShellCall& call = g_shellCalls[0];
        char caption[256] = "";
        GetWindowTextA(link, caption, static_cast<int>(std::size(caption)));
        EXPECT_EQ(call.file, caption);
        EXPECT_TRUE(call.file.rfind("https://", 0) == 0 || call.file.rfind("mailto:", 0) == 0) << call.file;
        EXPECT_EQ(call.verb, "open");
        EXPECT_TRUE(call.noParameters);
        EXPECT_TRUE(call.noDirectory);
        EXPECT_EQ(call.show, SW_SHOWNORMAL);
        EXPECT_EQ(call.owner, frame_);
    }
}

// The links take part in the tab order, one after the other, and Enter and Space open the
// focused one as a click does; Enter does not reach the dialog's default button.
TEST_F(AboutPageTest, KeyboardReachesAndOpensTheLinks) {
    CreatePage(modulePath_);
    ShowAgain();
    for (size_t i = 0; i + 1 < std::size(kLinks); ++i)
        EXPECT_EQ(GetNextDlgTabItem(container_, GetDlgItem(container_, kLinks[i]), FALSE),
                  GetDlgItem(container_, kLinks[i + 1]));

    struct Press {
        const char* name;
        WPARAM key;
    } presses[] = {{"Enter", VK_RETURN}, {"Space", VK_SPACE}};
    for (const Press& press : presses) {
        SCOPED_TRACE(press.name);
        g_shellCalls.clear();
        form_->otherCommands.clear();
        HWND link = GetDlgItem(container_, IdStaticText2);
        SetFocus(link);
        PostMessageW(link, WM_KEYDOWN, press.key, 1);
        PostMessageW(link, WM_KEYUP, press.key, 0xC0000001);
        form_->Pump();
        ASSERT_EQ(g_shellCalls.size(), 1u);
        char caption[256] = "";
        GetWindowTextA(link, caption, static_cast<int>(std::size(caption)));
        EXPECT_EQ(g_shellCalls[0].file, caption);
        EXPECT_EQ(form_->otherCommands, std::vector<int>{});
    }
}

TEST_F(AboutPageTest, PointerOverALinkIsAHand) {
    CreatePage(modulePath_);
    ShowAgain();
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    HWND link = GetDlgItem(container_, IdStaticText1);
    SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
}
