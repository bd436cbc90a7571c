#include "config/remote_files.h"

#include <iterator>

#include "config/ascii_text.h"

namespace {

constexpr std::string_view kExtension = ".cfg";

bool IsReplacedInFileName(char c) {
    // The first six are the historical set; the rest cannot stand in a Windows file name.
    static constexpr std::string_view kReplaced = " .,;<>\\/:*?\"|";
    return kReplaced.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < ' ';
}

bool IsReservedDeviceName(std::string_view name) {
    static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : kDevices) {
        if (SameIgnoringAsciiCase(name, device))
            return true;
    }
    if (name.size() == 4 && name[3] >= '1' && name[3] <= '9')
        return SameIgnoringAsciiCase(name.substr(0, 3), "COM") ||
               SameIgnoringAsciiCase(name.substr(0, 3), "LPT");
    return false;
}

bool EndsWithExtension(std::string_view name) {
    return name.size() > kExtension.size() &&
           SameIgnoringAsciiCase(name.substr(name.size() - kExtension.size()), kExtension);
}

// FNV-1a over the key lines of Code and Raw as read (name and value, each closed by a byte no
// name or value holds), one section after the other.
uint64_t KeysFingerprint(const IniDocument& contents) {
    uint64_t hash = 0xCBF29CE484222325ull;
    const auto add = [&hash](std::string_view text, unsigned char end) {
        for (char c : text)
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
        hash = (hash ^ end) * 0x100000001B3ull;
    };
    for (const char* section : {"Code", "Raw"}) {
        contents.VisitSection(section, [&add](const IniEntry& entry) {
            add(entry.key, '\n');
            add(entry.value, '\n');
        });
        add({}, '\r');
    }
    return hash;
}

} // namespace

void RemoteFilesRead::Add(const std::string& identity, const IniDocument& contents) {
    files_[identity] = KeysFingerprint(contents);
}

bool RemoteFilesRead::Holds(const std::string& identity, const IniDocument& contents) const {
    const auto found = files_.find(identity);
    return found != files_.end() && found->second == KeysFingerprint(contents);
}

std::string RemoteFileName(std::string_view moduleFolder, std::string_view remoteName,
                           LeadByteTest isLeadByte) {
    std::string base(remoteName);
    for (size_t i = 0; i < base.size(); ++i) {
        if (isLeadByte && isLeadByte(static_cast<unsigned char>(base[i])))
            ++i; // its trail byte is part of the character
        else if (IsReplacedInFileName(base[i]))
            base[i] = '_';
    }
    if (base.empty())
        base.push_back('_');
    if (IsReservedDeviceName(base))
        base.push_back('_');
    std::string path;
    path.reserve(moduleFolder.size() + base.size() + kExtension.size());
    path.append(moduleFolder).append(base).append(kExtension);
    return path;
}

std::vector<std::string> ListRemoteFiles(FileSystem& fs, const std::string& moduleFolder) {
    std::vector<std::string> names;
    for (std::string& name : fs.ListFolder(moduleFolder, "*.cfg")) {
        if (!name.empty() && name.front() != '.' && EndsWithExtension(name))
            names.push_back(std::move(name));
    }
    return names;
}
