#pragma once
// The precision of the x87 unit, held for a scope. The host owns the unit's control word: most
// hosts leave it at 64 bits, and some (a graphics library's fast mode) set 24, where double
// arithmetic on x87 rounds differently from SSE and from every other build of ours. Where this
// build computes in x87 registers (i686 without SSE math), the scope sets the precision and gives
// the host's back at its end; elsewhere it does nothing.
#include <cstdint>

#if defined(__i386__) && !defined(__SSE2_MATH__)
#define ORVIK_X87_MATH 1
#endif

class X87Precision {
  public:
    // bits: 24, 53 or 64 significant bits.
    explicit X87Precision([[maybe_unused]] int bits) {
#ifdef ORVIK_X87_MATH
        __asm__ volatile("fnstcw %0" : "=m"(saved_));
        const uint16_t field = bits <= 24 ? 0x000 : bits <= 53 ? 0x200 : 0x300;
        const uint16_t control = static_cast<uint16_t>((saved_ & ~0x300u) | field);
        __asm__ volatile("fldcw %0" : : "m"(control));
#endif
    }
    ~X87Precision() {
#ifdef ORVIK_X87_MATH
        __asm__ volatile("fldcw %0" : : "m"(saved_));
#endif
    }
    X87Precision(const X87Precision&) = delete;
    X87Precision& operator=(const X87Precision&) = delete;

  private:
    [[maybe_unused]] uint16_t saved_ = 0;
};
