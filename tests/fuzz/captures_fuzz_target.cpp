// Fuzz target for orvik-decode's capture readers (train lines, mode2, Flipper .ir files), the
// receiver-model imitation and the remote rows built from what they read. Any broken property
// aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/orvik_decode/decode_report.h"
#include "capture_import/receiver_model.h"
#include "capture_import/import_rows.h"
#include "fuzz/fuzz_require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    DecodeSession session;
    session.model = static_cast<int>(data[0] % 4) - 1;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    const std::vector<DecodedTrain> trains = DecodeInput(in, session);
    int skipped = 0;
    for (const DecodedTrain& train : trains) {
        // A train that was not decoded gives nothing; one that was has a reason-free result.
        if (!train.error.empty()) {
            ++skipped;
            Require(train.report.code == 0 && train.report.rawSignature.empty());
        }
    }
    Require(skipped == session.skipped);
    const ImportRows remote = BuildImportRows(trains, "Fuzz", data[0] >= 0x80);
    for (const KeyListRow& row : remote.rows)
        Require(row.codeText.empty() != row.rawText.empty());
    return 0;
}
