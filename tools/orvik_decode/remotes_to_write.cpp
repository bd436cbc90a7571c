#include "tools/orvik_decode/remotes_to_write.h"

#include <set>

std::vector<RemoteToWrite> RemotesToWrite(const std::vector<TrainOfRemote>& trains, const std::string& name,
                                          bool rawMode, const NameCodePage& codePage,
                                          std::vector<RenamedText>& renamed) {
    std::set<std::string> blocks;
    for (const TrainOfRemote& train : trains) {
        if (!train.block.empty())
            blocks.insert(train.block);
    }
    const bool several = blocks.size() > 1;

    std::set<std::string> noted;
    const auto stored = [&](const std::string& text) {
        bool changed = false;
        std::string result = StoredText(text, codePage, &changed);
        if (changed && noted.insert(text).second)
            renamed.push_back({text, result});
        return result;
    };
    std::vector<std::string> names; // in order of appearance
    std::vector<std::vector<DecodedTrain>> grouped;
    for (const TrainOfRemote& train : trains) {
        const std::string remote = several && !train.block.empty() ? stored(train.block) : name;
        size_t index = 0;
        while (index < names.size() && names[index] != remote)
            ++index;
        if (index == names.size()) {
            names.push_back(remote);
            grouped.emplace_back();
        }
        grouped[index].push_back(train.train);
        grouped[index].back().name = stored(train.train.name);
    }
    std::vector<RemoteToWrite> remotes;
    for (size_t k = 0; k < names.size(); ++k)
        remotes.push_back({names[k], BuildImportRows(grouped[k], names[k], rawMode)});
    return remotes;
}
