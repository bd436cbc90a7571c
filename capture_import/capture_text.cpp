#include "capture_import/capture_text.h"

#include <limits>
#include <set>
#include <sstream>

#include "capture_import/capture_lines.h"
#include "capture_import/capture_reader.h"

const char kNotACaptureText[] = "not a capture file this tool reads";

namespace {

// Converts every text the dialog may show or store, and notes the names that changed.
void ConvertTexts(CaptureText& read, const NameCodePage& codePage) {
    if (codePage.number == 0 && codePage.convert == nullptr)
        return;
    std::set<std::string> noted;
    const auto convert = [&](std::string& text) {
        bool changed = false;
        std::string stored = StoredText(text, codePage, &changed);
        if (changed && noted.insert(text).second)
            read.renamed.push_back({text, stored});
        text = std::move(stored);
    };
    // Remote names first: a remote is met before its buttons.
    for (std::string& name : read.remoteNames)
        convert(name);
    read.remoteName = StoredText(read.remoteName, codePage);
    for (ImportedButton& button : read.buttons) {
        convert(button.name);
        if (button.reason.empty())
            continue;
        for (std::string& value : button.reason.values)
            value = StoredText(value, codePage);
        button.skipped = EnglishText(button.reason);
    }
}

CaptureText ReadLines(CaptureLines& lines, size_t maxButtons, const NameCodePage& codePage) {
    CaptureText result;
    CaptureReader reader;
    std::string line;
    bool overlong = false;
    // Up to one button more than is kept: that one tells that the file holds more, while blank
    // lines and comments after the last button kept do not.
    while (result.buttons.size() <= maxButtons && reader.NotACaptureLine() == 0 &&
           lines.Next(line, overlong)) {
        if (overlong)
            reader.AddOverlongLine(result.buttons);
        else
            reader.AddLine(line, result.buttons);
    }
    reader.Finish(result.buttons);
    if (reader.NotACaptureLine() != 0) {
        result.status = CaptureFileStatus::NotACapture;
        result.stoppedAtLine = reader.NotACaptureLine();
        result.buttons.clear();
        return result;
    }
    if (result.buttons.size() > maxButtons) {
        result.buttons.resize(maxButtons);
        result.truncated = true;
    }
    result.remoteName = reader.RemoteName();
    result.remoteNames = reader.RemoteNames();
    result.strayLines = reader.StrayLines();
    result.firstStrayLine = reader.FirstStrayLine();
    ConvertTexts(result, codePage);
    return result;
}

} // namespace

CaptureText ReadCaptureText(std::string_view text, const NameCodePage& codePage) {
    std::istringstream in{std::string(text)};
    CaptureLines lines(in);
    return ReadLines(lines, std::numeric_limits<size_t>::max(), codePage);
}

CaptureText ReadCaptureStream(std::istream& in, size_t maxButtons, const NameCodePage& codePage) {
    CaptureLines lines(in);
    return ReadLines(lines, maxButtons, codePage);
}

std::string ImportRemoteName(const std::string& path, const CaptureText& read) {
    return read.remoteName.empty() ? FileRemoteName(path) : read.remoteName;
}

std::string FileRemoteName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

std::vector<CaptureRemote> SplitByRemote(const CaptureText& read, const std::string& fileRemote) {
    std::vector<CaptureRemote> remotes;
    for (const ImportedButton& button : read.buttons) {
        const bool inBlock =
            button.remote >= 0 && static_cast<size_t>(button.remote) < read.remoteNames.size();
        const std::string& name = inBlock && !read.remoteNames[static_cast<size_t>(button.remote)].empty()
                                      ? read.remoteNames[static_cast<size_t>(button.remote)]
                                      : fileRemote;
        auto remote = remotes.begin();
        while (remote != remotes.end() && remote->name != name)
            ++remote;
        if (remote == remotes.end())
            remote = remotes.insert(remotes.end(), CaptureRemote{name, {}});
        remote->buttons.push_back(button);
    }
    return remotes;
}
