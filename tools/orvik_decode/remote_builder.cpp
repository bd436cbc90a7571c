#include "tools/orvik_decode/remote_builder.h"

#include <algorithm>
#include <map>

#include "config/remote_files.h"
#include "decoding/raw_signature.h"

namespace {

std::string ButtonName(const DecodedTrain& train) {
    return train.name.empty() ? "Line " + std::to_string(train.line) : train.name;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The folder as the writer sees it: nothing in it but the one file (when it exists).
class OneFileFolder final : public FileSystem {
  public:
    OneFileFolder(FileSystem& fs, std::string folder, std::string path)
        : fs_(fs), folder_(std::move(folder)), path_(std::move(path)) {}

    ReadResult ReadFile(const std::string& path, std::string* contents) override {
        return fs_.ReadFile(path, contents);
    }
    bool WriteFile(const std::string& path, std::string_view contents) override {
        return path == path_ && fs_.WriteFile(path, contents);
    }
    std::vector<std::string> ListFolder(const std::string&, const std::string&) override {
        if (!fs_.Exists(path_))
            return {};
        return {path_.substr(folder_.size())};
    }
    bool Exists(const std::string& path) override { return fs_.Exists(path); }
    std::string IdentityOf(const std::string& path) override { return fs_.IdentityOf(path); }

  private:
    FileSystem& fs_;
    std::string folder_;
    std::string path_;
};

} // namespace

RemoteRows BuildRemoteRows(const std::vector<DecodedTrain>& trains, const std::string& remote) {
    RemoteRows result;
    std::map<std::string, std::string> buttonOfCode;                // code text -> button
    std::map<std::string, bool> hasCode;                            // button -> it has a code row
    std::vector<std::pair<std::string, std::string>> rawCandidates; // (button, signature)

    for (const DecodedTrain& train : trains) {
        if (!train.error.empty() || (train.repeatFrame && train.report.code != 0))
            continue;
        const std::string button = ButtonName(train);
        if (train.report.code == 0) {
            if (!train.report.rawSignature.empty())
                rawCandidates.emplace_back(button, train.report.rawSignature);
            else
                hasCode.emplace(button, false);
            continue;
        }
        char code[CodeDigits + 1];
        CodeText(train.report.code, code);
        const auto [owner, isNew] = buttonOfCode.emplace(code, button);
        if (!isNew) {
            if (owner->second != button)
                result.problems.push_back("buttons " + Quoted(owner->second) + " and " + Quoted(button) +
                                          " give one code, " + code + ": " + Quoted(button) + " is left out");
            continue;
        }
        hasCode[button] = true;
        result.rows.push_back(KeyListRow{button, remote, code, ""});
    }

    // Raw patterns only for buttons none of whose trains decodes; the first pattern of each.
    std::vector<std::string> rawButtons;
    for (const auto& candidate : rawCandidates) {
        const std::string& button = candidate.first;
        const std::string& signature = candidate.second;
        if (hasCode[button] || std::find(rawButtons.begin(), rawButtons.end(), button) != rawButtons.end())
            continue;
        const auto same = std::find_if(result.rows.begin(), result.rows.end(), [&](const KeyListRow& row) {
            return !row.rawText.empty() && SameRawSignature(row.rawText.c_str(), signature.c_str());
        });
        if (same != result.rows.end()) {
            result.problems.push_back("buttons " + Quoted(same->keyName) + " and " + Quoted(button) +
                                      " give one raw pattern: " + Quoted(button) + " is left out");
            rawButtons.push_back(button);
            continue;
        }
        rawButtons.push_back(button);
        result.rows.push_back(KeyListRow{button, remote, "", signature});
    }
    for (const auto& [button, coded] : hasCode) {
        if (!coded && std::find(rawButtons.begin(), rawButtons.end(), button) == rawButtons.end())
            result.problems.push_back("button " + Quoted(button) +
                                      " gives neither a code nor a raw pattern: left out");
    }
    return result;
}

bool WriteRemoteFile(FileSystem& fs, const std::string& folder, const std::string& remote,
                     const std::vector<KeyListRow>& rows, std::string* path) {
    *path = RemoteFileName(folder, remote);
    OneFileFolder only(fs, folder, *path);
    return WriteKeyList(only, folder, rows);
}
