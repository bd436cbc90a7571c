// Fuzz target for the capture readers on a whole text (what the dialog's import reads): Flipper
// .ir files, Pronto hex, lircd.conf blocks, mode2 and plain trains, the protocol encoders and LIRC
// frames they call, the conversion of names into code page 1251, and the key rows converted from
// what they read. Registered once per format, each with seeds of its own. Any broken property
// aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "capture_import/capture_reader.h"
#include "capture_import/import_rows.h"
#include "fuzz/fuzz_require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const CaptureText read = ReadCaptureText(text, NameCodePage{1251, nullptr});
    int lines = 1;
    for (char c : text)
        lines += c == '\n';
    // A file that is no capture is one result, at one of its lines, with no buttons.
    Require((read.status == CaptureFileStatus::NotACapture) == (read.stoppedAtLine != 0));
    Require(read.stoppedAtLine <= lines && (read.stoppedAtLine == 0 || read.buttons.empty()));
    const auto printable = [](const std::string& stored) {
        for (char c : stored) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                return false;
        }
        return true;
    };
    int previousLine = 1;
    for (const ImportedButton& button : read.buttons) {
        // A button has a train or a reason, never both; buttons come in file order.
        Require(button.skipped.empty() || button.durations.empty());
        Require(button.skipped == EnglishText(button.reason));
        Require(button.toggled.empty() || !button.durations.empty());
        Require(button.durations.size() <= kMaxImportedDurations);
        Require(button.line >= previousLine && button.line <= lines);
        Require(button.remote < static_cast<int>(read.remoteNames.size()));
        // Nothing the dialog stores or quotes holds a control byte.
        Require(printable(button.name) && printable(button.skipped));
        previousLine = button.line;
    }
    for (const std::string& name : read.remoteNames)
        Require(printable(name));
    ImportSettings settings;
    settings.model = static_cast<int>(data[0] % 4) - 1;
    settings.rawMode = (data[0] & 0x80) != 0;
    const ImportRows rows = ConvertButtons(read.buttons, "Fuzz", settings);
    for (const KeyListRow& row : rows.rows) {
        Require(row.codeText.empty() != row.rawText.empty());
        Require(!settings.rawMode || row.codeText.empty());
        Require(row.remoteName == "Fuzz");
    }
    for (const ButtonOutcome& outcome : rows.outcomes)
        Require((outcome.fate == ButtonOutcome::Fate::Added) == outcome.reason.empty());
    return 0;
}
