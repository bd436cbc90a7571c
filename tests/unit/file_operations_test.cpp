#include "setup_dialog/file_operations.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/code_page_texts.h"

namespace {

// NEC device 04 in the Pronto short form: Power 08, Mute 09, Volume+ 02.
const std::string kPower = "900A 006D 0000 0001 04FB 08F7";
const std::string kMute = "900A 006D 0000 0001 04FB 09F6";
const std::string kVolume = "900A 006D 0000 0001 04FB 02FD";
const std::string kPowerCode = "0220000020DF10EF";
const std::string kVolumeCode = "0220000020DF40BF";

// Model 0 at its own time unit, with a buffer that holds a whole NEC frame (67 bytes).
SettingsValues Receiver(bool rawMode = false, int32_t bufferSize = 128) {
    SettingsValues s;
    s.RawMode = rawMode;
    s.BufferSize = bufferSize;
    return s;
}

// The rows of an import, as a table states them.
template <typename... Row> std::vector<std::string> Rows(Row... rows) {
    return {std::string(rows)...};
}

// Buttons B1 ... Bn of a type the Pronto reader does not read, and the summary's lines for them.
std::string ManyUnreadable(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += "B" + std::to_string(i) + ": 5001 0073 0000 0001 0005 000C\n";
    return text;
}
std::wstring UnreadableLines(int n) {
    std::wstring text;
    for (int i = 1; i <= n; ++i)
        text += L"\n«B" + std::to_wstring(i) + L"»: пропущена (Pronto code type 5001 is not read)";
    return text;
}

TEST(FileOperations, ImportTakesTheRemoteAndTheRowsAndSumsUp) {
    const std::vector<KeyListRow> list = {
        {"Mute", "Living room", "0220000020df906f", ""}, // in another spelling of its code
        {"Power", "TV", kPowerCode, ""},
        {"Old", "living_room", "", ""}, // the same file as "Living room"
    };
    const auto shared = [](const wchar_t* key) {
        return std::wstring(L"\n\nДобавлено кнопок, чьи коды уже есть у других пультов: 1 (например, «") +
               key +
               L"» у пульта «TV»). Такая кнопка будет приходить под названием только одного из пультов.";
    };
    const std::wstring undo = L"\n\nОтменить весь импорт: Ctrl+Z в списке кнопок.";
    struct Case {
        const char* what;
        std::string file;
        std::wstring path;
        std::string target; // chosen in the prompt; "" takes the one it proposes
        SettingsValues settings;
        size_t maxButtons;
        std::string remote;
        std::vector<std::string> rows; // key=code, or key=raw for a raw pattern
        std::wstring message;
    } cases[] = {
        {"the file's name proposed; the remote's code, the file's second button of one code and a "
         "reader's refusal left out; a code another remote has told",
         "Power: " + kPower + "\nMute: " + kMute + "\nVolume+: " + kVolume +
             "\nEject: 5001 0073 0000 0001 0005 000C\nPower again: " + kPower + "\n",
         L"C:\\ir\\Living room.txt", "", Receiver(), kImportMaxButtons, "Living room",
         Rows("Power=" + kPowerCode, "Volume+=" + kVolumeCode),
         L"В пульт «Living room» добавлено кнопок: 2.\n\nНе добавлено: 3.\n"
         L"«Mute»: этот код у пульта уже есть, у кнопки «Mute»\n"
         L"«Eject»: пропущена (Pronto code type 5001 is not read)\n"
         L"«Power again»: тот же код, что у кнопки «Power» из файла" +
             shared(L"Power") + undo},
        {"the name chosen, and the rows of its file in any spelling count", "Mute: " + kMute + "\n", L"x.txt",
         "LIVING ROOM", Receiver(), kImportMaxButtons, "LIVING ROOM", Rows(),
         L"В пульт «LIVING ROOM» добавлено кнопок: 0.\n\nНе добавлено: 1.\n"
         L"«Mute»: этот код у пульта уже есть, у кнопки «Mute»"},
        {"a lircd.conf remote's own name proposed",
         "begin remote\n name Hall\n bits 16\n header 9000 4500\n one 560 1690\n zero 560 560\n ptrail "
         "560\n pre_data_bits 16\n pre_data 0x20DF\n begin codes\n  Up 0x10EF\n end codes\nend remote\n",
         L"/ir/hall.conf", "", Receiver(), kImportMaxButtons, "Hall", Rows("Up=" + kPowerCode),
         L"В пульт «Hall» добавлено кнопок: 1." + shared(L"Up") + undo},
        {"raw mode: the raw pattern of each button", "Power: " + kPower + "\n", L"/ir/TV.ir", "",
         Receiver(true), kImportMaxButtons, "TV", Rows("Power=raw"),
         L"В пульт «TV» добавлено кнопок: 1." + undo},
        {"the default buffer of 36 bytes cuts a NEC frame before its command: no code, and Power and "
         "Volume+ give one raw pattern",
         "Power: " + kPower + "\nVolume+: " + kVolume + "\n", L"a.txt", "A", Receiver(false, 36),
         kImportMaxButtons, "A", Rows("Power=raw"),
         L"В пульт «A» добавлено кнопок: 1.\n\nНе добавлено: 1.\n"
         L"«Volume+»: тот же сигнал, что у кнопки «Power» из файла" +
             undo},
        {"the first ten left out by name, the rest counted; a file read only in part", ManyUnreadable(13),
         L"a.txt", "A", Receiver(), 12, "A", Rows(),
         L"В пульт «A» добавлено кнопок: 0.\nФайл прочитан не до конца: взяты только первые 12 кнопок.\n\n"
         L"Не добавлено: 12." +
             UnreadableLines(10) + L"\n…и ещё 2."},
        {"a file without buttons fails and names itself", "# nothing here\n\n", L"C:\\ir\\empty.txt", "A",
         Receiver(), kImportMaxButtons, "", Rows(),
         L"В файле нет ни одной кнопки:\nC:\\ir\\empty.txt\n\nИмпорт читает файлы Flipper (.ir), LIRC "
         L"(lircd.conf и mode2), коды Pronto и строки длительностей импульсов."},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.file);
        const CaptureText read = ReadCaptureStream(in, c.maxButtons);
        const std::wstring nothing = NothingToImport(read, c.path);
        EXPECT_EQ(nothing.empty(), !c.remote.empty()) << c.what;
        if (!nothing.empty()) {
            EXPECT_EQ(nothing, c.message) << c.what;
            continue;
        }
        ImportChoice choice = ProposeImport(read, c.path, list, kCodePage1251);
        if (!c.target.empty())
            choice.lines[0].target = c.target;
        const ImportOutcome outcome =
            ImportButtons(read, choice, ImportSettingsOf(c.settings), list, &WideOf1251);
        std::vector<std::string> rows;
        for (const KeyListRow& row : outcome.rows) {
            EXPECT_EQ(row.remoteName, c.remote) << c.what;
            rows.push_back(row.keyName + "=" + (row.codeText.empty() ? "raw" : row.codeText));
        }
        EXPECT_EQ(rows, c.rows) << c.what;
        EXPECT_EQ(outcome.message, c.message) << c.what;
    }
}

TEST(FileOperations, SettingsNamesAndTexts) {
    struct ModelCase {
        int8_t mode;
        int model;
    } models[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};
    for (const ModelCase& c : models) {
        SettingsValues s;
        s.Mode = c.mode;
        s.Scaler = 2133;
        s.BufferSize = 99;
        const ImportSettings import = ImportSettingsOf(s);
        EXPECT_EQ(import.model, c.model) << int{c.mode};
        EXPECT_EQ(import.scaler, 2133);
        EXPECT_EQ(import.bufferSize, 99);
    }

    struct FileCase {
        std::string a, b;
        bool same;
    } files[] = {{"A B", "a_b", true}, {"TV", "tv", true}, {"TV", "TV2", false}, {"<x>", "_X_", true}};
    for (const FileCase& c : files)
        EXPECT_EQ(SameRemoteFile(c.a, c.b), c.same) << c.a << " / " << c.b;

    const std::vector<KeyListRow> rows = {
        {"1", "TV", "01", ""}, {"2", "Amp", "02", ""}, {"3", "tv", "", "AA"}, {"4", "TV 2", "04", ""}};
    std::vector<std::string> ofTv;
    for (const KeyListRow& row : RemoteRows(rows, "TV"))
        ofTv.push_back(row.keyName);
    EXPECT_EQ(ofTv, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(ExportFileName("TV Set 2.0"), "TV_Set_2_0.cfg");
    EXPECT_EQ(ExportFileName("<undefined>"), "_undefined_.cfg");

    struct FillCase {
        std::wstring text;
        std::wstring filled;
    } fills[] = {{L"%1 и %2", L"a%2 и b"}, {L"100%", L"100%"}, {L"%3%1", L"%3a%2"}, {L"%0", L"%0"}};
    for (const FillCase& c : fills)
        EXPECT_EQ(FillIn(c.text, {L"a%2", L"b"}), c.filled);
}

} // namespace
