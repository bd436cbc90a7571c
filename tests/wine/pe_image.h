#pragma once
// Reads what the DLL tests need from a 32-bit PE file: header fields, sections, exports by name
// and imported module names. Every read is bounds-checked; a damaged file gives an error text.
#include <cstdint>
#include <string>
#include <vector>

struct PeSection {
    std::string name;
    uint32_t rva = 0;
    uint32_t size = 0;
    uint32_t characteristics = 0;
};

struct PeExport {
    std::string name;
    uint32_t rva = 0;
};

struct PeImage {
    uint16_t machine = 0;
    uint16_t characteristics = 0;
    uint16_t optionalMagic = 0;
    std::vector<PeSection> sections;
    std::vector<PeExport> exports;
    std::vector<std::string> imports;

    // The section that holds an address, or null.
    const PeSection* SectionOf(uint32_t rva) const;
};

constexpr uint16_t kPeMachineI386 = 0x014C;
constexpr uint16_t kPeFileDll = 0x2000;
constexpr uint16_t kPeMagic32 = 0x010B;
constexpr uint32_t kPeSectionExecute = 0x20000000;
constexpr uint32_t kPeSectionWrite = 0x80000000;

bool ReadPeImage(const std::vector<uint8_t>& file, PeImage* image, std::string* error);
