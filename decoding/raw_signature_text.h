#pragma once
// RawSignatureText: the text form of the last raw signature the dispatcher took over. The dispatch
// thread replaces it; the dialog's thread reads it when it handles a posted code message, possibly
// while the next one is being written. A short lock makes every reader see one whole text.
#include <cstdint>
#include <string>

#include "receiver/lock.h"

// Two digits per signature byte (at most 1023) and the terminating zero.
constexpr int kRawSignatureTextSize = 2048;

class RawSignatureTextBuffer {
  public:
    // Replaces the text; at most kRawSignatureTextSize - 1 characters of text are kept.
    void Store(const char* text);
    // The current text, NUL-terminated.
    void CopyTo(char (&text)[kRawSignatureTextSize]) const;
    std::string Text() const;

  private:
    mutable Lock lock_;
    char text_[kRawSignatureTextSize] = {};
};

extern RawSignatureTextBuffer RawSignatureText;
