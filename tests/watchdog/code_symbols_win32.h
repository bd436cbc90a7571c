#pragma once
// Names for the code addresses of a captured process: the nearest function of the module file's
// own symbol table (our programs and the plug-in keep theirs), else the nearest export that the
// module's image lists (Wine's DLLs), else module and offset.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/watchdog/process_capture_win32.h"

class CodeSymbols {
  public:
    CodeSymbols(HANDLE process, const ProcessCapture& capture);
    // "OrvikPlug.dll!StopSampling()+0x25", "ntdll.dll!NtWaitForSingleObject+0xc", "0x00401000".
    std::string Describe(uint32_t address) const;
    // The nearest symbol's name alone, "" when none.
    std::string FunctionAt(uint32_t address) const;
    // The module holding the address, or null.
    const ModuleImage* ModuleAt(uint32_t address) const;
    // A return address: in executable code, right after a call instruction.
    bool IsReturnAddress(uint32_t address) const;
    // Where the direct call before a return address goes (through an import's jump); 0 when the
    // call is indirect.
    uint32_t DirectCallTarget(uint32_t returnAddress) const;
    // The start of the function holding the address, as far as the symbols tell; 0 when unknown.
    uint32_t FunctionStart(uint32_t address) const;

  private:
    struct Symbol {
        uint32_t address;
        std::string name;
    };
    struct Module {
        const ModuleImage* image;
        std::vector<std::pair<uint32_t, uint32_t>> code; // executable ranges [from, to)
        std::vector<Symbol> symbols;                     // sorted by address
    };
    const Module* Find(uint32_t address) const;
    const Symbol* Nearest(const Module& module, uint32_t address) const;

    HANDLE process_;
    std::vector<Module> modules_;
};
