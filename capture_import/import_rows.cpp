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

ButtonOutcome Outcome(const std::string& button, Fate fate, std::string reason = "", std::string owner = "",
                      bool ownerInRemote = false) {
    ButtonOutcome outcome;
    outcome.button = button;
    outcome.fate = fate;
    outcome.reason = std::move(reason);
    outcome.owner = std::move(owner);
    outcome.ownerInRemote = ownerInRemote;
    return outcome;
}

ButtonOutcome Unreadable(const std::string& button, const SkipReason& why) {
    ButtonOutcome outcome = Outcome(button, Fate::Unreadable);
    outcome.detail = EnglishText(why);
    outcome.detailReason = why;
    outcome.reason = "button \"" + button + "\": " + outcome.detail;
    return outcome;
}

// A raw pattern a button may get, and the one of its other toggle state ("" when none).
struct RawCandidate {
    std::string button;
    std::string signature;
    std::string toggled;
};

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

    // A code row for the button, unless another button (or a row the remote had before) gives the
    // code; reported when report is set. True when the button has the code now.
    const auto addCode = [&](const std::string& button, KeyCode value, bool report) {
        char code[CodeDigits + 1];
        CodeText(value, code);
        const auto [owner, isNew] = ownerOfCode.emplace(code, button);
        if (!isNew) {
            // A second capture of the same button adds nothing; a code another button (or a row the
            // remote had before) gives stays with that one.
            const bool inRemote = existingCodes.count(code) > 0;
            const bool other = owner->second != button || inRemote;
            if (other && report)
                outcomes.LeftOut(Outcome(button, Fate::SameCode,
                                         "buttons " + Quoted(owner->second) + " and " + Quoted(button) +
                                             " give one code, " + code + ": " + Quoted(button) +
                                             " is left out",
                                         owner->second, inRemote));
            return !other;
        }
        outcomes.Added(button);
        result.rows.push_back(KeyListRow{button, remote, code, ""});
        return true;
    };

    const std::ptrdiff_t existingPatterns = static_cast<std::ptrdiff_t>(ownerOfPattern.size());
    std::set<std::string> coded; // buttons with a code row
    std::vector<RawCandidate> rawCandidates;
    for (const DecodedTrain& train : trains) {
        const std::string button = ButtonName(train);
        outcomes.Seen(button);
        if (!train.errorReason.empty()) {
            outcomes.LeftOut(Unreadable(button, train.errorReason));
            continue;
        }
        // A repeat frame only repeats the button before it: it is no key of its own.
        if (train.repeatFrame) {
            outcomes.LeftOut(Unreadable(button, Reason(SkipReasonId::RepeatFrameOnly)));
            continue;
        }
        const KeyCode toggledCode = train.hasToggled ? train.toggled.code : 0;
        if (rawMode || (train.report.code == 0 && toggledCode == 0)) {
            if (!train.report.rawSignature.empty())
                rawCandidates.push_back(
                    {button, train.report.rawSignature, train.hasToggled ? train.toggled.rawSignature : ""});
            continue;
        }
        // The code of each toggle state; the second only once the button has the first.
        const KeyCode first = train.report.code != 0 ? train.report.code : toggledCode;
        if (!addCode(button, first, true))
            continue;
        coded.insert(button);
        if (toggledCode != 0 && toggledCode != first)
            addCode(button, toggledCode, false);
    }

    // Raw patterns only for buttons none of whose trains decodes: the first pattern of each, and the
    // patterns of both toggle states of its first train that has them (a pattern once only).
    const auto patternOwner = [&](const std::string& signature) {
        return std::find_if(ownerOfPattern.begin(), ownerOfPattern.end(), [&](const auto& owner) {
            return SameRawSignature(owner.first.c_str(), signature.c_str());
        });
    };
    const auto addPattern = [&](const std::string& button, const std::string& signature) {
        if (patternOwner(signature) != ownerOfPattern.end())
            return;
        ownerOfPattern.emplace_back(signature, button);
        result.rows.push_back(KeyListRow{button, remote, "", signature});
    };
    std::set<std::string> patterned; // buttons with a pattern row
    std::set<std::string> toggling;  // ... and with the patterns of both toggle states
    std::set<std::string> seen;
    for (const RawCandidate& candidate : rawCandidates) {
        const std::string& button = candidate.button;
        if (coded.count(button) > 0)
            continue;
        if (seen.insert(button).second) {
            const auto same = patternOwner(candidate.signature);
            if (same != ownerOfPattern.end()) {
                const bool inRemote = same - ownerOfPattern.begin() < existingPatterns;
                outcomes.LeftOut(Outcome(button, Fate::SamePattern,
                                         "buttons " + Quoted(same->second) + " and " + Quoted(button) +
                                             " give one raw pattern: " + Quoted(button) + " is left out",
                                         same->second, inRemote));
                continue;
            }
            patterned.insert(button);
            outcomes.Added(button);
            addPattern(button, candidate.signature);
        }
        if (candidate.toggled.empty() || patterned.count(button) == 0 || !toggling.insert(button).second)
            continue;
        addPattern(button, candidate.signature);
        addPattern(button, candidate.toggled);
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
