#include "config/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

namespace {

std::optional<std::string> Lookup(const IniDocument& doc, const char* section, const char* key) {
    if (!doc.HasKey(section, key))
        return std::nullopt;
    return doc.GetString(section, key, "<fallback>");
}

std::string Entries(const IniDocument& doc, const char* section) {
    std::string out;
    for (const IniEntry& e : doc.ReadSection(section))
        out += std::string(e.key) + "|" + std::string(e.value) + ";";
    return out;
}

} // namespace

TEST(IniDocument, LooksUpKeysByTheLayoutRules) {
    struct Case {
        const char* name;
        const char* text;
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"plain", "[Main]\r\nName=TV\r\n", "Main", "Name", "TV"},
        {"section case ignored", "[MAIN]\nName=TV\n", "main", "Name", "TV"},
        {"key case ignored", "[Main]\nNAME=TV\n", "Main", "name", "TV"},
        {"blanks around key and value", "[Main]\n  Name \t=  TV Set \t\n", "Main", "Name", "TV Set"},
        {"blanks inside the header", "[ Main ]\nName=TV\n", "Main", "Name", "TV"},
        {"split at the first equals sign", "[Code]\nAB=Vol=up\n", "Code", "AB", "Vol=up"},
        {"empty value", "[Main]\nName=\n", "Main", "Name", ""},
        {"LF only", "[Main]\nA=1\nB=2", "Main", "B", "2"},
        {"lone CR", "[Main]\rA=1\rB=2\r", "Main", "B", "2"},
        {"duplicate key: first wins", "[Main]\nA=1\nA=2\n", "Main", "A", "1"},
        {"duplicate section read as one", "[Main]\nA=1\n[Other]\nB=2\n[main]\nC=3\n", "Main", "C", "3"},
        {"key in another section", "[Main]\nA=1\n[Receiver]\nB=2\n", "Main", "B", std::nullopt},
        {"key above every section", "A=1\n[Main]\n", "Main", "A", std::nullopt},
        {"comment with semicolon", "[Main]\n;A=1\n", "Main", ";A", std::nullopt},
        {"comment with hash", "[Main]\n#A=1\n", "Main", "#A", std::nullopt},
        {"line without equals sign", "[Main]\nA\nB=2\n", "Main", "A", std::nullopt},
        {"nothing before the equals sign", "[Main]\n=x\n", "Main", "", std::nullopt},
        {"unclosed header is no section", "[Main]\n[Other\nA=1\n", "Main", "A", "1"},
        {"no sections at all", "A=1\nB=2\n", "Main", "A", std::nullopt},
        {"UTF-8 mark before the first header", "\xEF\xBB\xBF[Main]\nA=1\n", "Main", "A", "1"},
        {"ANSI bytes untouched", "[Main]\nName=\xCF\xF3\xEB\xFC\xF2\n", "Main", "Name",
         "\xCF\xF3\xEB\xFC\xF2"},
        {"case folds ASCII only", "[Main]\n\xCF=1\n", "Main", "\xEF", std::nullopt},
        {"empty text", "", "Main", "A", std::nullopt},
    };
    for (const auto& c : cases) {
        const IniDocument doc = IniDocument::Parse(c.text);
        EXPECT_EQ(Lookup(doc, c.section, c.key), c.value) << c.name;
    }
}

TEST(IniDocument, MissingKeyGivesTheFallback) {
    const IniDocument doc = IniDocument::Parse("[Main]\nA=1\n");
    EXPECT_EQ(doc.GetString("Main", "B", "dflt"), "dflt");
    EXPECT_EQ(doc.GetString("Nope", "A", "dflt"), "dflt");
}

TEST(IniDocument, ReadsWholeSectionsInFileOrder) {
    struct Case {
        const char* text;
        const char* section;
        const char* entries;
    } cases[] = {
        {"[Code]\nB=2\nA=1\nB=3\n", "Code", "B|2;A|1;B|3;"},
        {"[Code]\nA=1\n[Raw]\nK=x\n[CODE]\nC=3\n", "code", "A|1;C|3;"},
        {"[Code]\n; note\n\nnot a key\nA = 1\n", "Code", "A|1;"},
        {"[Main]\nA=1\n", "Code", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Entries(IniDocument::Parse(c.text), c.section), c.entries) << c.text;
}

TEST(IniDocument, LongValuesReadBackWhole) {
    for (size_t length : {size_t{2046}, size_t{4096}, size_t{10} << 20}) {
        std::string value(length, 'A');
        value.back() = 'Z';
        const IniDocument doc = IniDocument::Parse("[Raw]\r\nRaw1=" + value + "\r\nKey1=Power\r\n");
        EXPECT_EQ(doc.GetString("Raw", "Raw1", "").size(), length);
        EXPECT_EQ(doc.GetString("Raw", "Raw1", ""), value);
        EXPECT_EQ(doc.GetString("Raw", "Key1", ""), "Power");
    }
}

TEST(IniDocument, EditsInPlaceKeepingEverythingElse) {
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"replace keeps position, comments and other sections",
         "; settings\n[Main]\nwait1 = 5\nOther=x\n[Extra]\nZ=1\n", "Main", "Wait1", "300",
         "; settings\r\n[Main]\r\nwait1=300\r\nOther=x\r\n[Extra]\r\nZ=1\r\n"},
        {"new key after the section's last key, before trailing blanks", "[Main]\nA=1\n\n[Receiver]\nB=2\n",
         "Main", "C", "3", "[Main]\r\nA=1\r\nC=3\r\n\r\n[Receiver]\r\nB=2\r\n"},
        {"new key in a section without keys", "[Main]\n; empty\n", "Main", "A", "1",
         "[Main]\r\nA=1\r\n; empty\r\n"},
        {"new section at the end", "[Main]\nA=1", "Receiver", "Mode", "0",
         "[Main]\r\nA=1\r\n[Receiver]\r\nMode=0\r\n"},
        {"into an empty document", "", "Main", "A", "1", "[Main]\r\nA=1\r\n"},
        {"only the first duplicate is replaced", "[Main]\nA=1\nA=2\n", "Main", "A", "9",
         "[Main]\r\nA=9\r\nA=2\r\n"},
        {"duplicate section: new key into the first", "[Main]\nA=1\n[X]\n[Main]\nB=2\n", "main", "C", "3",
         "[Main]\r\nA=1\r\nC=3\r\n[X]\r\n[Main]\r\nB=2\r\n"},
        {"line breaks in a value become blanks", "", "Main", "A", "x\r\n[Code]\ny",
         "[Main]\r\nA=x  [Code] y\r\n"},
        {"value is trimmed as it would be read", "", "Main", "A", "  v  ", "[Main]\r\nA=v\r\n"},
        {"UTF-8 mark kept", "\xEF\xBB\xBF[Main]\n", "Main", "A", "1", "\xEF\xBB\xBF[Main]\r\nA=1\r\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(c.before);
        EXPECT_TRUE(doc.SetString(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(doc.Serialize(), c.after) << c.name;
    }
}

TEST(IniDocument, RefusesKeysThatWouldNotReadBack) {
    for (const char* key : {"", "  ", "A=B", "[Code]", ";x", "#x", "a\nb", "a\rb"}) {
        IniDocument doc = IniDocument::Parse("[Main]\nA=1\n");
        EXPECT_FALSE(doc.SetString("Main", key, "v")) << key;
        EXPECT_EQ(doc.Serialize(), "[Main]\r\nA=1\r\n") << key;
    }
    EXPECT_TRUE(IniDocument::IsStorableKey("0000000000ABCDEF"));
}

TEST(IniDocument, ErasesEveryOccurrenceOfASection) {
    struct Case {
        const char* before;
        const char* section;
        const char* after;
    } cases[] = {
        {"[Main]\nName=TV\n[Code]\nA=1\n; c\n[Raw]\nKey1=x\n", "code",
         "[Main]\r\nName=TV\r\n[Raw]\r\nKey1=x\r\n"},
        {"[Code]\nA=1\n[Main]\nN=1\n[CODE]\nB=2\n", "Code", "[Main]\r\nN=1\r\n"},
        {"top=1\n[Main]\nN=1\n", "Code", "top=1\r\n[Main]\r\nN=1\r\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(c.before);
        doc.EraseSection(c.section);
        EXPECT_EQ(doc.Serialize(), c.after) << c.before;
        EXPECT_FALSE(doc.HasSection(c.section));
    }
}

// Whatever bytes come in, parsing never fails, serialising and parsing again reads the same keys,
// and a value set afterwards reads back as set.
TEST(IniDocument, ArbitraryBytesSurviveAParseSerializeParseCycle) {
    std::mt19937 random(12345);
    const char alphabet[] = "[]=;#\r\n \tAaBbK1\x00\xFF\xCF";
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 200, ' ');
        for (char& c : text)
            c = alphabet[random() % (std::size(alphabet) - 1)];
        const IniDocument first = IniDocument::Parse(text);
        IniDocument second = IniDocument::Parse(first.Serialize());
        for (const char* section : {"A", "a", "B", "K1", ""}) {
            ASSERT_EQ(Entries(first, section), Entries(second, section)) << round;
        }
        ASSERT_TRUE(second.SetString("a", "Key1", "value ="));
        EXPECT_EQ(IniDocument::Parse(second.Serialize()).GetString("A", "key1", ""), "value =") << round;
    }
}
