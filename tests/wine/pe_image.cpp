#include "tests/wine/pe_image.h"

#include <iterator>

namespace {

class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool Has(uint64_t offset, uint64_t size) const { return offset + size <= bytes_.size(); }
    uint32_t U16(uint32_t offset) const {
        return Has(offset, 2) ? bytes_[offset] | bytes_[offset + 1] << 8 : 0;
    }
    uint32_t U32(uint32_t offset) const {
        return Has(offset, 4) ? U16(offset) | static_cast<uint32_t>(U16(offset + 2)) << 16 : 0;
    }
    std::string Text(uint32_t offset, size_t max) const {
        std::string text;
        for (uint64_t i = offset; i < bytes_.size() && text.size() < max && bytes_[i] != 0; ++i)
            text.push_back(static_cast<char>(bytes_[i]));
        return text;
    }

  private:
    const std::vector<uint8_t>& bytes_;
};

struct RawSection {
    uint32_t rva, virtualSize, fileOffset, fileSize;
};

// File offset of an address, or 0 when no section holds it in the file.
uint32_t FileOffset(const std::vector<RawSection>& sections, uint32_t rva) {
    for (const RawSection& s : sections)
        if (rva >= s.rva && rva - s.rva < s.fileSize)
            return s.fileOffset + (rva - s.rva);
    return 0;
}

constexpr uint32_t kMaxNames = 65536;
constexpr size_t kMaxNameLength = 512;

} // namespace

const PeSection* PeImage::SectionOf(uint32_t rva) const {
    for (const PeSection& s : sections)
        if (rva >= s.rva && rva - s.rva < s.size)
            return &s;
    return nullptr;
}

bool ReadPeImage(const std::vector<uint8_t>& file, PeImage* image, std::string* error) {
    *image = PeImage{};
    Reader r(file);
    if (r.U16(0) != 0x5A4D) {
        *error = "no MZ header";
        return false;
    }
    uint32_t pe = r.U32(0x3C);
    if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550) {
        *error = "no PE signature";
        return false;
    }
    image->machine = static_cast<uint16_t>(r.U16(pe + 4));
    uint32_t sectionCount = r.U16(pe + 6);
    uint32_t optionalSize = r.U16(pe + 20);
    image->characteristics = static_cast<uint16_t>(r.U16(pe + 22));
    uint32_t optional = pe + 24;
    image->optionalMagic = static_cast<uint16_t>(r.U16(optional));
    if (image->optionalMagic != kPeMagic32 || optionalSize < 96 + 16) {
        *error = "not a PE32 optional header";
        return false;
    }
    uint32_t directoryCount = r.U32(optional + 92);
    uint32_t directories = optional + 96;
    std::vector<RawSection> raw;
    for (uint32_t i = 0, at = optional + optionalSize; i < sectionCount; ++i, at += 40) {
        if (!r.Has(at, 40)) {
            *error = "section table cut short";
            return false;
        }
        PeSection s;
        s.name = r.Text(at, 8);
        s.size = r.U32(at + 8);
        s.rva = r.U32(at + 12);
        s.characteristics = r.U32(at + 36);
        raw.push_back({s.rva, s.size, r.U32(at + 20), r.U32(at + 16)});
        image->sections.push_back(s);
    }
    uint32_t exportRva = directoryCount > 0 ? r.U32(directories) : 0;
    if (uint32_t dir = exportRva != 0 ? FileOffset(raw, exportRva) : 0) {
        uint32_t names = r.U32(dir + 24);
        uint32_t functions = FileOffset(raw, r.U32(dir + 28));
        uint32_t nameTable = FileOffset(raw, r.U32(dir + 32));
        uint32_t ordinals = FileOffset(raw, r.U32(dir + 36));
        for (uint32_t i = 0; i < names && i < kMaxNames; ++i) {
            uint32_t ordinal = r.U16(ordinals + 2 * i);
            image->exports.push_back({r.Text(FileOffset(raw, r.U32(nameTable + 4 * i)), kMaxNameLength),
                                      r.U32(functions + 4 * ordinal)});
        }
    }
    uint32_t importRva = directoryCount > 1 ? r.U32(directories + 8) : 0;
    if (uint32_t dir = importRva != 0 ? FileOffset(raw, importRva) : 0) {
        for (uint32_t at = dir; r.Has(at, 20) && r.U32(at + 12) != 0 && image->imports.size() < kMaxNames;
             at += 20)
            image->imports.push_back(r.Text(FileOffset(raw, r.U32(at + 12)), kMaxNameLength));
    }
    return true;
}
