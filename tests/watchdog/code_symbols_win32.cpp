#include "tests/watchdog/code_symbols_win32.h"

#include "tests/watchdog/machine_code.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

constexpr size_t kMaxName = 110;
constexpr size_t kCoffSymbolSize = 18;

struct Sections {
    std::vector<IMAGE_SECTION_HEADER> headers;
};

// The section table of a module's image in the process.
bool ReadSections(HANDLE process, uint32_t base, IMAGE_NT_HEADERS32* nt, Sections* sections) {
    IMAGE_DOS_HEADER dos;
    if (!ReadMemory(process, base, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        !ReadMemory(process, base + dos.e_lfanew, nt, sizeof *nt) || nt->Signature != IMAGE_NT_SIGNATURE)
        return false;
    const uint32_t table = base + dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                           nt->FileHeader.SizeOfOptionalHeader;
    sections->headers.resize(nt->FileHeader.NumberOfSections);
    return sections->headers.empty() || ReadMemory(process, table, sections->headers.data(),
                                                   sections->headers.size() * sizeof(IMAGE_SECTION_HEADER));
}

std::string ReadName(HANDLE process, uint32_t address) {
    char text[kMaxName + 1] = "";
    // Names near the end of a mapped region cannot be read whole: shorten until they can.
    for (size_t size = kMaxName; size >= 8; size /= 2)
        if (ReadMemory(process, address, text, size)) {
            text[size] = '\0';
            return text;
        }
    return {};
}

// The module's exports, as its image in memory lists them (forwarders left out).
void AddExports(HANDLE process, uint32_t base, const IMAGE_NT_HEADERS32& nt,
                std::vector<std::pair<uint32_t, std::string>>* out) {
    const IMAGE_DATA_DIRECTORY& directory = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    IMAGE_EXPORT_DIRECTORY exports;
    if (directory.VirtualAddress == 0 ||
        !ReadMemory(process, base + directory.VirtualAddress, &exports, sizeof exports))
        return;
    std::vector<uint32_t> functions(exports.NumberOfFunctions);
    std::vector<uint32_t> names(exports.NumberOfNames);
    std::vector<uint16_t> ordinals(exports.NumberOfNames);
    if ((!functions.empty() && !ReadMemory(process, base + exports.AddressOfFunctions, functions.data(),
                                           functions.size() * sizeof(uint32_t))) ||
        (!names.empty() && (!ReadMemory(process, base + exports.AddressOfNames, names.data(),
                                        names.size() * sizeof(uint32_t)) ||
                            !ReadMemory(process, base + exports.AddressOfNameOrdinals, ordinals.data(),
                                        ordinals.size() * sizeof(uint16_t)))))
        return;
    for (size_t i = 0; i < names.size(); ++i) {
        if (ordinals[i] >= functions.size())
            continue;
        const uint32_t rva = functions[ordinals[i]];
        if (rva - directory.VirtualAddress < directory.Size)
            continue; // a forwarder's text, not code
        out->push_back({base + rva, ReadName(process, base + names[i])});
    }
}

// The functions of the file's COFF symbol table, placed at the module's base in the process.
void AddFileSymbols(const std::string& path, uint32_t base, const Sections& sections,
                    std::vector<std::pair<uint32_t, std::string>>* out) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD got = 0;
    const bool whole = ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                       got == bytes.size();
    CloseHandle(file);
    if (!whole || bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return;
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, bytes.data(), sizeof dos);
    IMAGE_FILE_HEADER header;
    const size_t headerAt = static_cast<size_t>(dos.e_lfanew) + sizeof(DWORD);
    if (headerAt + sizeof header > bytes.size())
        return;
    std::memcpy(&header, bytes.data() + headerAt, sizeof header);
    const size_t table = header.PointerToSymbolTable;
    const size_t strings = table + static_cast<size_t>(header.NumberOfSymbols) * kCoffSymbolSize;
    if (table == 0 || strings > bytes.size())
        return;
    for (size_t i = 0; i < header.NumberOfSymbols; ++i) {
        const uint8_t* symbol = bytes.data() + table + i * kCoffSymbolSize;
        uint32_t value, nameOffset;
        int16_t section;
        uint16_t type;
        std::memcpy(&value, symbol + 8, 4);
        std::memcpy(&section, symbol + 12, 2);
        std::memcpy(&type, symbol + 14, 2);
        i += symbol[17]; // auxiliary records
        const bool function = (type >> 4) == IMAGE_SYM_DTYPE_FUNCTION;
        if (!function || section <= 0 || static_cast<size_t>(section) > sections.headers.size())
            continue;
        std::string name;
        std::memcpy(&nameOffset, symbol, 4);
        if (nameOffset == 0) {
            std::memcpy(&nameOffset, symbol + 4, 4);
            if (strings + nameOffset >= bytes.size())
                continue;
            const char* text = reinterpret_cast<const char*>(bytes.data() + strings + nameOffset);
            name.assign(text, strnlen(text, bytes.size() - strings - nameOffset));
        } else {
            name.assign(reinterpret_cast<const char*>(symbol),
                        strnlen(reinterpret_cast<const char*>(symbol), 8));
        }
        out->push_back({base + sections.headers[section - 1].VirtualAddress + value, ReadableSymbol(name)});
    }
}

} // namespace

CodeSymbols::CodeSymbols(HANDLE process, const ProcessCapture& capture) : process_(process) {
    for (const ModuleImage& image : capture.modules) {
        Module module{&image, {}, {}};
        IMAGE_NT_HEADERS32 nt;
        Sections sections;
        if (ReadSections(process, image.base, &nt, &sections)) {
            for (const IMAGE_SECTION_HEADER& section : sections.headers)
                if (section.Characteristics & (IMAGE_SCN_MEM_EXECUTE | IMAGE_SCN_CNT_CODE))
                    module.code.push_back({image.base + section.VirtualAddress,
                                           image.base + section.VirtualAddress + section.Misc.VirtualSize});
            std::vector<std::pair<uint32_t, std::string>> found;
            AddFileSymbols(image.path, image.base, sections, &found);
            if (found.empty())
                AddExports(process, image.base, nt, &found);
            std::sort(found.begin(), found.end());
            for (auto& [address, name] : found)
                module.symbols.push_back({address, std::move(name)});
        }
        modules_.push_back(std::move(module));
    }
}

const CodeSymbols::Module* CodeSymbols::Find(uint32_t address) const {
    for (const Module& module : modules_)
        if (module.image->Holds(address))
            return &module;
    return nullptr;
}

const ModuleImage* CodeSymbols::ModuleAt(uint32_t address) const {
    const Module* module = Find(address);
    return module != nullptr ? module->image : nullptr;
}

const CodeSymbols::Symbol* CodeSymbols::Nearest(const Module& module, uint32_t address) const {
    auto after = std::upper_bound(module.symbols.begin(), module.symbols.end(), address,
                                  [](uint32_t a, const Symbol& s) { return a < s.address; });
    return after == module.symbols.begin() ? nullptr : &*std::prev(after);
}

std::string CodeSymbols::FunctionAt(uint32_t address) const {
    const Module* module = Find(address);
    const Symbol* symbol = module != nullptr ? Nearest(*module, address) : nullptr;
    return symbol != nullptr ? symbol->name : std::string();
}

std::string CodeSymbols::Describe(uint32_t address) const {
    char text[32];
    const Module* module = Find(address);
    if (module == nullptr) {
        std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(address));
        return text;
    }
    const Symbol* symbol = Nearest(*module, address);
    std::snprintf(
        text, sizeof text, "+0x%x",
        static_cast<unsigned>(address - (symbol != nullptr ? symbol->address : module->image->base)));
    return module->image->name + "!" + (symbol != nullptr ? symbol->name : std::string()) + text;
}

bool CodeSymbols::IsReturnAddress(uint32_t address) const {
    const Module* module = Find(address);
    if (module == nullptr)
        return false;
    bool inCode = false;
    for (const auto& [from, to] : module->code)
        inCode = inCode || (address - kCallLookBack >= from && address < to);
    BytesBefore bytes;
    return inCode && ReadMemory(process_, address - kCallLookBack, bytes, sizeof bytes) &&
           EndsWithCall(bytes);
}

uint32_t CodeSymbols::DirectCallTarget(uint32_t returnAddress) const {
    BytesBefore bytes;
    const std::optional<int32_t> displacement =
        ReadMemory(process_, returnAddress - kCallLookBack, bytes, sizeof bytes)
            ? DirectCallDisplacement(bytes)
            : std::nullopt;
    if (!displacement)
        return 0;
    uint32_t target = returnAddress + static_cast<uint32_t>(*displacement);
    // An import is called through a stub that jumps on.
    uint8_t code[6];
    if (ReadMemory(process_, target, code, sizeof code))
        if (const std::optional<uint32_t> slot = ImportJumpSlot(code))
            ReadMemory(process_, *slot, &target, sizeof target);
    return target;
}

uint32_t CodeSymbols::FunctionStart(uint32_t address) const {
    const Module* module = Find(address);
    const Symbol* symbol = module != nullptr ? Nearest(*module, address) : nullptr;
    return symbol != nullptr ? symbol->address : 0;
}
