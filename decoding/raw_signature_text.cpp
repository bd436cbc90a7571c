#include "decoding/raw_signature_text.h"

#include <cstring>
#include <mutex>

RawSignatureTextBuffer RawSignatureText;

void RawSignatureTextBuffer::Store(const char* text) {
    size_t length = 0;
    while (text && length < kRawSignatureTextSize - 1 && text[length] != '\0')
        ++length;
    const std::lock_guard hold(lock_);
    if (length > 0)
        std::memcpy(text_, text, length);
    text_[length] = '\0';
}

void RawSignatureTextBuffer::CopyTo(char (&text)[kRawSignatureTextSize]) const {
    const std::lock_guard hold(lock_);
    std::memcpy(text, text_, kRawSignatureTextSize);
}

std::string RawSignatureTextBuffer::Text() const {
    const std::lock_guard hold(lock_);
    return std::string(text_);
}
