#include "plugin/invalid_params_text.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

// Appends to a fixed buffer, cutting whatever does not fit; the buffer stays NUL-terminated.
class CutAppender {
  public:
    explicit CutAppender(char (&text)[kInvalidParamsTextSize]) : text_(text) { text_[0] = '\0'; }
    void Append(const char* part) {
        while (part && *part != '\0' && !Full())
            text_[length_++] = *part++;
        text_[length_] = '\0';
    }
    bool Full() const { return length_ >= kInvalidParamsTextSize - 1; }

  private:
    char (&text_)[kInvalidParamsTextSize];
    int length_ = 0;
};

void AppendParam(CutAppender& out, const ActionParamSlot& slot) {
    if (slot.isNumber) {
        char number[16];
        std::snprintf(number, std::size(number), "0x%X", static_cast<unsigned>(slot.number));
        out.Append(number);
        return;
    }
    out.Append("\"");
    out.Append(slot.text);
    out.Append("\"");
}

} // namespace

void BuildInvalidParamsText(char (&text)[kInvalidParamsTextSize], const char* pluginName,
                            const ActionParamView* params) {
    CutAppender out(text);
    out.Append("Invalid params: ");
    out.Append(pluginName);
    out.Append(".ActionManual(");
    const int32_t count = params ? std::min<int32_t>(params->count, kActionParamSlots) : 0;
    for (int32_t i = 0; i < count && !out.Full(); ++i) {
        if (i > 0)
            out.Append(",");
        AppendParam(out, params->slots[i]);
    }
    out.Append(")");
}
