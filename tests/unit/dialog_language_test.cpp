// Every text the configuration dialog shows is Russian: each wide literal of its sources
// (setup_dialog/) and each caption of its layout resource holds a Cyrillic letter, unless the
// dialog keeps it in English as listed here, or it is no text at all. A new English text anywhere
// in the dialog fails here. ("<new key>" and "<undefined>" are names stored in files: narrow data.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

// Kept in English as the written dialog has them: the form's caption and a model (the receiver's
// names), a check box of the receiver page, the coding names, the raw column, the signal view's
// label, the about page's version label before it is read; the capture formats' own names; the
// remote's name proposed where the code page has no Cyrillic.
const std::string kKeptEnglish =
    "|OrvikPlug-USB|Orvik&Plug2|&Compatible buffer handling|Bi-phase coding (RC-5)|"
    "Bi-phase coding (RC-6)|Pulse-distance code|Pulse-length code|RAW|85.33 x 10 us|"
    "Version string|Flipper (*.ir)|LIRC (*.conf)|Pronto (*.txt)|Remote|";
// Never shown: window classes, resource names, fonts, file patterns, a version-resource query.
const std::string kNotTexts =
    "|Static|Button|Edit|ComboBox|TSetupForm|TSETUPFORM|IMPORTPROMPT|OrvikSignalView|"
    "Lucida Console|Courier New|txt|cfg|*.ir|*.conf|*.txt|*.ir;*.conf;*.txt|*.cfg|*.*|"
    "\\\\StringFileInfo\\\\040904E4\\\\FileVersion|";

bool IsShownEnglish(const std::string& utf8) {
    // Cyrillic is U+0400..U+04FF: lead bytes D0..D3.
    for (unsigned char c : utf8)
        if (c >= 0xD0 && c <= 0xD3)
            return false;
    // Escapes such as \n hold no letter.
    const std::string plain = std::regex_replace(utf8, std::regex(R"(\\.)"), "");
    const std::string listed = "|" + utf8 + "|";
    return std::regex_search(plain, std::regex("[A-Za-z]")) &&
           kKeptEnglish.find(listed) == std::string::npos && kNotTexts.find(listed) == std::string::npos;
}

TEST(DialogLanguage, EveryTextTheDialogShowsIsRussian) {
    const std::regex wide(R"re(\b[Lu]"((?:[^"\\]|\\.)*)")re");
    const std::regex caption(
        R"re(^\s*(?:GROUPBOX|[LRC]TEXT|PUSHBUTTON|AUTO\w+|CONTROL|CAPTION)\s+"((?:[^"\\]|\\.)*)")re");
    size_t texts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORVIK_SOURCE_DIR "/setup_dialog")) {
        const std::string extension = entry.path().extension().string();
        const auto check = [&](const std::string& text) {
            ++texts;
            EXPECT_FALSE(IsShownEnglish(text)) << entry.path().filename() << ": " << text;
        };
        std::ifstream in(entry.path(), std::ios::binary);
        for (std::string line;
             (extension == ".h" || extension == ".cpp" || extension == ".rc") && std::getline(in, line);) {
            std::smatch found;
            if (extension == ".rc" && std::regex_search(line, found, caption))
                check(found[1]);
            for (auto it = std::sregex_iterator(line.begin(), line.end(), wide);
                 extension != ".rc" && it != std::sregex_iterator(); ++it)
                check((*it)[1]);
        }
    }
    EXPECT_GT(texts, 150u) << "the dialog's sources were read";
}

} // namespace
