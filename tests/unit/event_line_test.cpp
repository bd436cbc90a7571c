#include "tools/test_host/event_line.h"

#include <gtest/gtest.h>

#include <string>

TEST(EventLine, EveryTextSurvivesTheRoundTripOnOneLine) {
    const std::string texts[] = {
        "",
        "plain",
        "with spaces and = signs",
        "quote \" and backslash \\ and \\x41",
        std::string("nul\0byte", 8),
        "tab\tnewline\ncarriage\r",
        "\xCF\xF0\xE8\xB8\xEC \xEA\xEE\xE4\xE0", // code page 1251 text
        std::string(300, 'x'),
    };
    for (const std::string& text : texts) {
        std::string line = EventLine("msg").Text("text", text).Int("n", 1029).str();
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(line.find('\r'), std::string::npos);
        ParsedLine parsed;
        std::string error;
        ASSERT_TRUE(ParseEventLine(line, &parsed, &error)) << line << ": " << error;
        EXPECT_EQ(parsed.kind, "msg");
        EXPECT_EQ(parsed.Get("text"), text) << line;
        EXPECT_EQ(parsed.Number("n"), 1029);
    }
}

TEST(EventLine, WordsThatAreNotBareAreQuoted) {
    struct Case {
        const char* value;
        const char* written;
    } cases[] = {
        {"press", " k=press"}, {"", " k=\"\""},       {"two words", " k=\"two words\""},
        {"a=b", " k=\"a=b\""}, {"\"", " k=\"\\\"\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EventLine("e").Word("k", c.value).str(), std::string("e") + c.written);
}

TEST(EventLine, NumbersReadAsDecimalOrHexadecimal) {
    ParsedLine parsed;
    std::string error;
    ASSERT_TRUE(ParseEventLine(EventLine("msg")
                                   .Hex("w", 0xFFFFFFFF)
                                   .Int("l", -1)
                                   .Hex("zero", 0)
                                   .Word("word", "abc")
                                   .Word("big", "0x8000000000000000")
                                   .Word("ms", "323.103")
                                   .str(),
                               &parsed, &error))
        << error;
    EXPECT_EQ(parsed.Get("w"), "0xFFFFFFFF");
    EXPECT_EQ(parsed.Number("w"), 0xFFFFFFFFll);
    EXPECT_EQ(parsed.Number("l"), -1);
    EXPECT_EQ(parsed.Number("zero"), 0);
    EXPECT_EQ(parsed.Number("word"), std::nullopt);
    EXPECT_EQ(parsed.Number("big"), std::nullopt);
    EXPECT_EQ(parsed.Number("absent"), std::nullopt);
    EXPECT_FALSE(parsed.Has("absent"));
    EXPECT_DOUBLE_EQ(*parsed.Real("ms"), 323.103);
    EXPECT_DOUBLE_EQ(*parsed.Real("l"), -1.0);
    EXPECT_EQ(parsed.Number("ms"), std::nullopt);
    EXPECT_EQ(parsed.Real("word"), std::nullopt);
    EXPECT_EQ(parsed.Real("absent"), std::nullopt);
}

TEST(EventLine, RefusesLinesOutsideTheFormat) {
    struct Case {
        const char* line;
        const char* why;
    } cases[] = {
        {"", "no kind word"},
        {"\"msg\" n=1", "no kind word"},
        {"msg n", "bad key"},
        {"msg =1", "bad key"},
        {"msg n=1 ", "bad key"},
        {"msg n=1  l=2", "bad key"},
        {"msg text=\"open", "unterminated"},
        {"msg text=\"bad \\q escape\"", "bad escape"},
        {"msg text=\"short \\x4\"", "bad escape"},
        {"msg text=\"a\"b", "no space after text"},
        {"msg n=1 n=2", "key twice: n"},
        {"msg n=", "bad value for n"},
    };
    for (const auto& c : cases) {
        ParsedLine parsed;
        std::string error;
        EXPECT_FALSE(ParseEventLine(c.line, &parsed, &error)) << c.line;
        EXPECT_NE(error.find(c.why), std::string::npos) << c.line << " gave: " << error;
    }
}

TEST(EventLine, ToleratesTheLineEndOfAPipe) {
    ParsedLine parsed;
    std::string error;
    ASSERT_TRUE(ParseEventLine("done steps=3\r\n", &parsed, &error)) << error;
    EXPECT_EQ(parsed.kind, "done");
    EXPECT_EQ(parsed.Number("steps"), 3);
}
