#include "setup_dialog/cp1251.h"

#include "capture_import/code_pages.h"

char16_t Cp1251ToUtf16(unsigned char byte) {
    return CodePageToUtf16(1251, byte);
}
