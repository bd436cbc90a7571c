// The memory a load of the configuration takes, for junk remote files of the largest size the
// plug-in reads. A 32-bit host has 2 GiB of address space, much of it its own: a few MiB of short
// lines once took it all.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "config/configuration.h"
#include "config/file_system.h"
#include "config/ini_document.h"
#include "support/temp_folder.h"

namespace {

// Bytes allocated through operator new now, and the most at any moment since the last reset.
std::atomic<size_t> Current{0};
std::atomic<size_t> Peak{0};
constexpr size_t kHeader = 16; // keeps the alignment of malloc

void* Allocate(size_t size) {
    void* block = std::malloc(size + kHeader);
    if (!block)
        throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    const size_t now = Current.fetch_add(size) + size;
    size_t peak = Peak.load();
    while (now > peak && !Peak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void Free(void* pointer) noexcept {
    if (!pointer)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    Current.fetch_sub(*static_cast<size_t*>(block));
    std::free(block);
}

} // namespace

void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void operator delete(void* pointer) noexcept {
    Free(pointer);
}
void operator delete[](void* pointer) noexcept {
    Free(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
    Free(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
    Free(pointer);
}

namespace {

// Lines of one shape until the file has size bytes.
std::string JunkFile(const std::string& head, size_t size, std::string (*line)(size_t n)) {
    std::string text = head;
    for (size_t n = 1; text.size() < size; ++n)
        text += line(n);
    text.resize(size);
    return text;
}

struct Shape {
    const char* name;
    const char* head;
    std::string (*line)(size_t n);
};

const Shape kShapes[] = {
    {"distinct codes", "[Main]\nName=Junk\n[Code]\n", [](size_t n) { return std::to_string(n) + "=\n"; }},
    {"one code again and again", "[Code]\n", [](size_t) { return std::string("1=\n"); }},
    {"empty lines", "", [](size_t) { return std::string("\n"); }},
    {"lines without equals sign", "[Code]\n", [](size_t) { return std::string("x\n"); }},
    {"raw-only keys", "[Raw]\n",
     [](size_t n) {
         return "Key" + std::to_string(n) + "=" + std::to_string(n) + "\nRaw" + std::to_string(n) + "=1\n";
     }},
    {"lines of a section that is not read", "[Notes]\n", [](size_t n) { return std::to_string(n) + "=x\n"; }},
};

// Peak memory of one LoadConfiguration over a folder holding file; *read: the load read the file
// (it did not refuse it).
size_t PeakOfLoad(const std::string& file, bool* read) {
    TempFolder folder;
    const std::string path = folder.Path() + "Junk.cfg";
    WriteWholeFile(path, file);
    StringList names, codes, raws;
    StringList* saved[] = {RemoteNames, CodeTable, RawTable};
    RemoteNames = &names, CodeTable = &codes, RawTable = &raws;
    const size_t before = Current.load();
    Peak.store(before);
    LoadConfiguration(StdFileSystem(), folder.Path() + "OrvikPlug.dll");
    const size_t peak = Peak.load() - before;
    RemoteNames = saved[0], CodeTable = saved[1], RawTable = saved[2];
    *read = LoadedRemoteFiles().Holds(path, IniDocument::Parse(file));
    return peak;
}

} // namespace

// The most one remote file of the largest size read, whatever it holds, may take while it is
// loaded and once it is in the key table (64-bit build; the 32-bit plug-in's strings and pointers
// are smaller).
constexpr size_t kLoadBound = size_t{24} << 20;

TEST(ConfigurationMemory, TheLargestFileLoadsWithinItsBound) {
    for (const Shape& shape : kShapes) {
        bool read = false;
        const size_t peak = PeakOfLoad(JunkFile(shape.head, kMaxConfigFileBytes, shape.line), &read);
        std::printf("%-38s %6.1f MiB, %4.1f bytes per byte of the file\n", shape.name, peak / 1048576.0,
                    static_cast<double>(peak) / kMaxConfigFileBytes);
        EXPECT_TRUE(read) << shape.name << ": a measure of nothing";
        EXPECT_LT(peak, kLoadBound) << shape.name;
    }
}

// A larger file is not read at all: an unknown remote without keys, whatever it holds.
TEST(ConfigurationMemory, ALargerFileIsNotRead) {
    bool read = true;
    const size_t peak =
        PeakOfLoad(JunkFile(kShapes[0].head, kMaxConfigFileBytes + 1, kShapes[0].line), &read);
    EXPECT_FALSE(read);
    EXPECT_LT(peak, size_t{64} << 10);
}
