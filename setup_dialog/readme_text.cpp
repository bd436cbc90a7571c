#include "setup_dialog/readme_text.h"

#include "setup_dialog/cp1251.h"

ReadmeText DecodeReadme(std::string_view bytes) {
    bytes = bytes.substr(0, kReadmeByteLimit);
    bytes = bytes.substr(0, bytes.find('\0'));
    ReadmeText out;
    out.text.reserve(bytes.size() + bytes.size() / 16);
    bool lineOpen = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            out.text += u"\r\n";
            ++out.lineCount;
            lineOpen = false;
            continue;
        }
        out.text += Cp1251ToUtf16(static_cast<unsigned char>(c));
        lineOpen = true;
    }
    if (lineOpen)
        ++out.lineCount;
    return out;
}
