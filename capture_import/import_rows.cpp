#include "capture_import/import_rows.h"

#include <algorithm>
#include <map>
#include <set>

#include "decoding/raw_signature.h"

namespace {

using Fate = ButtonOutcome::Fate;

std::string ButtonName(const DecodedTrain& train) {
    return train.name.empty() ? "Line " + std::to_string(train.line) : train.name;
}

ButtonOutcome Outcome(const std::string& button, Fate fate, std::string reason = "", std::string detail = "",
                      std::string owner = "", bool ownerInRemote = false) {
    ButtonOutcome outcome;
    outcome.button = button;
    outcome.fate = fate;
    outcome.reason = std::move(reason);
    outcome.detail = std::move(detail);
    outcome.owner = std::move(owner);
    outcome.ownerInRemote = ownerInRemote;
    return outcome;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Every button's outcome, in the order the buttons first appear: added once a row is added for it,
// else the first reason it was left out for.
class Outcomes {
  public:
    void Seen(const std::string& button) {
        if (index_.emplace(button, outcomes_.size()).second)
            outcomes_.push_back(Outcome(button, Fate::NoCodeNorRaw));
    }
    void Added(const std::string& button) { At(button) = Outcome(button, Fate::Added); }
    void LeftOut(ButtonOutcome left) {
        ButtonOutcome& outcome = At(left.button);
        if (outcome.fate != Fate::Added && outcome.reason.empty())
            outcome = std::move(left);
    }
    std::vector<ButtonOutcome> Finish(bool rawMode) {
        for (ButtonOutcome& outcome : outcomes_) {
            if (outcome.fate == Fate::NoCodeNorRaw && outcome.reason.empty())
                outcome.reason =
                    "button " + Quoted(outcome.button) +
                    (rawMode ? " gives no raw pattern" : " gives neither a code nor a raw pattern") +
                    ": left out";
        }
        return std::move(outcomes_);
    }

  private:
    ButtonOutcome& At(const std::string& button) {
        Seen(button);
        return outcomes_[index_[button]];
    }

    std::vector<ButtonOutcome> outcomes_;
    std::map<std::string, size_t> index_;
};

} // namespace

ImportRows BuildImportRows(const std::vector<DecodedTrain>& trains, const std::string& remote, bool rawMode,
                           const std::vector<KeyListRow>& existing) {
    ImportRows result;
    Outcomes outcomes;
    // The codes and raw patterns the remote has, and the key that has each.
    std::map<std::string, std::string> ownerOfCode;
    std::set<std::string> existingCodes;
    std::vector<std::pair<std::string, std::string>> ownerOfPattern; // (pattern, key)
    for (const KeyListRow& row : existing) {
        if (row.remoteName != remote)
            continue;
        if (!row.codeText.empty()) {
            ownerOfCode.emplace(row.codeText, row.keyName);
            existingCodes.insert(row.codeText);
        }
        if (!row.rawText.empty())
            ownerOfPattern.emplace_back(row.rawText, row.keyName);
    }

    const std::ptrdiff_t existingPatterns = static_cast<std::ptrdiff_t>(ownerOfPattern.size());
    std::set<std::string> coded;                                    // buttons with a code row
    std::vector<std::pair<std::string, std::string>> rawCandidates; // (button, signature)
    for (const DecodedTrain& train : trains) {
        const std::string button = ButtonName(train);
        outcomes.Seen(button);
        if (!train.error.empty()) {
            outcomes.LeftOut(Outcome(button, Fate::Unreadable,
                                     "button " + Quoted(button) + ": " + train.error, train.error));
            continue;
        }
        // A repeat frame repeats the button before it; in raw mode it carries no signature.
        if (train.repeatFrame && (rawMode || train.report.code != 0))
            continue;
        if (rawMode || train.report.code == 0) {
            if (!train.report.rawSignature.empty())
                rawCandidates.emplace_back(button, train.report.rawSignature);
            continue;
        }
        char code[CodeDigits + 1];
        CodeText(train.report.code, code);
        const auto [owner, isNew] = ownerOfCode.emplace(code, button);
        if (!isNew) {
            // A second capture of the same button adds nothing; a code another button (or a row the
            // remote had before) gives stays with that one.
            const bool inRemote = existingCodes.count(code) > 0;
            if (owner->second != button || inRemote)
                outcomes.LeftOut(Outcome(button, Fate::SameCode,
                                         "buttons " + Quoted(owner->second) + " and " + Quoted(button) +
                                             " give one code, " + code + ": " + Quoted(button) +
                                             " is left out",
                                         "", owner->second, inRemote));
            continue;
        }
        coded.insert(button);
        outcomes.Added(button);
        result.rows.push_back(KeyListRow{button, remote, code, ""});
    }

    // Raw patterns only for buttons none of whose trains decodes; the first pattern of each.
    std::set<std::string> patterned;
    for (const auto& candidate : rawCandidates) {
        const std::string& button = candidate.first;
        const std::string& signature = candidate.second;
        if (coded.count(button) > 0 || !patterned.insert(button).second)
            continue;
        const auto same = std::find_if(ownerOfPattern.begin(), ownerOfPattern.end(), [&](const auto& owner) {
            return SameRawSignature(owner.first.c_str(), signature.c_str());
        });
        if (same != ownerOfPattern.end()) {
            const bool inRemote = same - ownerOfPattern.begin() < existingPatterns;
            outcomes.LeftOut(Outcome(button, Fate::SamePattern,
                                     "buttons " + Quoted(same->second) + " and " + Quoted(button) +
                                         " give one raw pattern: " + Quoted(button) + " is left out",
                                     "", same->second, inRemote));
            continue;
        }
        ownerOfPattern.emplace_back(signature, button);
        outcomes.Added(button);
        result.rows.push_back(KeyListRow{button, remote, "", signature});
    }
    result.outcomes = outcomes.Finish(rawMode);
    return result;
}

ImportRows ConvertButtons(const std::vector<ImportedButton>& buttons, const std::string& remote,
                          const ImportSettings& settings, const std::vector<KeyListRow>& existing) {
    DecodeSession session;
    session.model = settings.model;
    session.scaler = settings.scaler;
    session.bufferSize = settings.bufferSize;
    std::vector<DecodedTrain> trains;
    trains.reserve(buttons.size());
    for (const ImportedButton& button : buttons)
        trains.push_back(DecodeButton(button, session));
    return BuildImportRows(trains, remote, settings.rawMode, existing);
}
