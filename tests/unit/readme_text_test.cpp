#include "setup_dialog/readme_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string text;
    int lineCount;
};

} // namespace

TEST(DecodeReadme, LineEndsNulAndLineCount) {
    const DecodeCase cases[] = {
        {"empty", "", u"", 0},
        {"one line without an end", "abc", u"abc", 1},
        {"one line with CRLF", "abc\r\n", u"abc\r\n", 1},
        {"LF only", "a\nb\n", u"a\r\nb\r\n", 2},
        {"CR only", "a\rb\rc", u"a\r\nb\r\nc", 3},
        {"LF CR is two ends", "a\n\rb", u"a\r\n\r\nb", 3},
        {"empty lines count", "\r\n\r\n", u"\r\n\r\n", 2},
        {"mixed", "a\r\nb\nc\rd", u"a\r\nb\r\nc\r\nd", 4},
        {"stops at NUL", std::string("ab\r\ncd\0ef\r\n", 11), u"ab\r\ncd", 2},
        {"NUL first", std::string("\0abc", 4), u"", 0},
        {"CR as the last byte", "a\r", u"a\r\n", 1},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadmeText readme = DecodeReadme(c.bytes);
        EXPECT_EQ(readme.text, c.text);
        EXPECT_EQ(readme.lineCount, c.lineCount);
    }
}

// Letters and signs of code page 1251 as published, whatever the machine's code page.
TEST(DecodeReadme, ReadsCodePage1251) {
    struct Case {
        unsigned char byte;
        char16_t unit;
    } cases[] = {
        {0x41, u'A'},      {0xC0, u'\u0410'}, {0xDF, u'\u042F'}, {0xE0, u'\u0430'}, {0xFF, u'\u044F'},
        {0xA8, u'\u0401'}, {0xB8, u'\u0451'}, {0xB9, u'\u2116'}, {0x88, u'\u20AC'}, {0x80, u'\u0402'},
        {0x96, u'\u2013'}, {0x97, u'\u2014'}, {0xAB, u'\u00AB'}, {0xBB, u'\u00BB'}, {0xA0, u'\u00A0'},
        {0xA5, u'\u0490'}, {0xB4, u'\u0491'}, {0x98, u'\u0098'}, {0x7F, u'\u007F'}, {0x09, u'\t'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        EXPECT_EQ(DecodeReadme(std::string(1, static_cast<char>(c.byte))).text, std::u16string(1, c.unit));
    }
}

TEST(DecodeReadme, ReadsAtMostOneMebibyte) {
    std::string bytes(kReadmeByteLimit + 100, 'x');
    bytes[kReadmeByteLimit - 1] = '\n';
    const ReadmeText readme = DecodeReadme(bytes);
    EXPECT_EQ(readme.text.size(), kReadmeByteLimit + 1); // the last byte read became CRLF
    EXPECT_EQ(readme.text.substr(readme.text.size() - 3), u"x\r\n");
    EXPECT_EQ(readme.lineCount, 1);
}
