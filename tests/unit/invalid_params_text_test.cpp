#include "plugin/invalid_params_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "support/action_params.h"

namespace {

constexpr char kPluginName[] = "OrvikPlug-USB";
const std::string kPrefix = "Invalid params: OrvikPlug-USB.ActionManual(";

std::string Build(const ActionParamView* params, const char* pluginName = kPluginName) {
    char text[kInvalidParamsTextSize];
    std::fill(std::begin(text), std::end(text), '#');
    BuildInvalidParamsText(text, pluginName, params);
    // Terminated inside the buffer, whatever was in it before.
    const char* begin = text;
    const char* end = std::find(begin, begin + kInvalidParamsTextSize, '\0');
    EXPECT_NE(end, begin + kInvalidParamsTextSize);
    return std::string(begin, end);
}

TEST(BuildInvalidParamsText, WritesTheCallOut) {
    const std::string t300(300, 't');
    const std::string t100(100, 'u');
    struct {
        const char* name;
        ActionParamView params;
        std::string expected;
    } cases[] = {
        {"example", Params({"SetDataPort", "Bits", 5, 1}), kPrefix + "\"SetDataPort\",\"Bits\",0x5,0x1)"},
        {"count 0", Params({}), kPrefix + ")"},
        {"count above 4 stops at 4", Params({1, 2, 3, 4}, 9), kPrefix + "0x1,0x2,0x3,0x4)"},
        {"negative count", Params({1, 2}, -1), kPrefix + ")"},
        {"negative numbers", Params({-1, 0, 0x7FFFFFFF}), kPrefix + "0xFFFFFFFF,0x0,0x7FFFFFFF)"},
        {"null texts", Params({nullptr, "x", nullptr}), kPrefix + "\"\",\"x\",\"\")"},
        {"text of 300 characters", Params({t300.c_str()}), (kPrefix + "\"" + t300).substr(0, 255)},
        {"four long texts", Params({t100.c_str(), t100.c_str(), t100.c_str(), t100.c_str()}),
         (kPrefix + "\"" + t100 + "\",\"" + t100 + "\",\"" + t100).substr(0, 255)},
        {"quotes are not escaped", Params({"a\"b"}), kPrefix + "\"a\"b\")"},
    };
    for (const auto& c : cases) {
        const std::string text = Build(&c.params);
        EXPECT_EQ(text, c.expected) << c.name;
        EXPECT_LE(text.size(), 255u) << c.name;
    }
}

TEST(BuildInvalidParamsText, NullParamsAndNamesAreHarmless) {
    EXPECT_EQ(Build(nullptr), kPrefix + ")");
    EXPECT_EQ(Build(nullptr, nullptr), "Invalid params: .ActionManual()");
    const std::string longName(400, 'n');
    const ActionParamView params = Params({"GetDataPort"});
    EXPECT_EQ(Build(&params, longName.c_str()), ("Invalid params: " + longName).substr(0, 255));
}

TEST(BuildInvalidParamsText, ClosingParenthesisFitsExactlyWhenThereIsRoom) {
    // A text that leaves room for exactly the closing quote and parenthesis.
    const size_t room = 255 - kPrefix.size() - 3; // opening quote, closing quote, ')'
    const std::string fits(room, 'f');
    const ActionParamView exact = Params({fits.c_str()});
    const std::string text = Build(&exact);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.back(), ')');
    const std::string tooLong(room + 1, 'f');
    const ActionParamView over = Params({tooLong.c_str()});
    EXPECT_EQ(Build(&over).back(), '"');
}

} // namespace
