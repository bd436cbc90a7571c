#include "setup_dialog/status_texts.h"

#include "setup_dialog/dialog_texts.h"

const wchar_t* DeviceStatusText(int32_t deviceStatus) {
    switch (deviceStatus) {
    case 0:
        return dialog_texts::kDeviceOk;
    case 1:
        return dialog_texts::kDeviceMissing;
    case 2:
        return dialog_texts::kDeviceNoData;
    default:
        return dialog_texts::kDeviceUnknown;
    }
}

const wchar_t* BufferFillText(BufferFill fill) {
    return fill == BufferFill::SettingFull ? dialog_texts::kBurstCut : nullptr;
}

KeyDisplay CodeKeyDisplay(KeyCode code, KeyCode lastCode) {
    KeyDisplay display;
    if (code == lastCode)
        return display;
    display.show = true;
    display.setLastCode = true;
    // Kind 4 is RC-6; of any other kind only the low two bits count: 0 keeps the panel, 1..3 name
    // the coding.
    const unsigned kind = CodingKindOf(code) == CodingBiPhaseRc6 ? 4u : CodingKindOf(code) & 3u;
    if (kind != 0)
        display.coding = dialog_texts::kCodingNames[kind - 1];
    display.bits = std::to_wstring(BitCountOf(code)) + dialog_texts::kBitsSuffix;
    char digits[CodeDigits + 1];
    CodeText(code, digits);
    display.codeText = digits;
    return display;
}

KeyDisplay RawKeyDisplay(const char* rawSignatureText) {
    KeyDisplay display;
    display.show = true;
    display.coding = dialog_texts::kRawCoding;
    display.bits = dialog_texts::kNotApplicable;
    display.codeText = rawSignatureText ? rawSignatureText : "";
    return display;
}
