#include "support/memory_file_system.h"

#include <new>

#include "config/ascii_text.h"
#include "config/wildcard.h"

void MemoryFileSystem::Put(const std::string& path, std::string contents) {
    if (Node* node = Find(path)) {
        node->contents = std::move(contents);
        node->folder = false;
        return;
    }
    index_[path] = nodes_.size();
    nodes_.push_back(Node{path, std::move(contents), false});
}

void MemoryFileSystem::PutFolder(const std::string& path) {
    Put(path, "");
    Find(path)->folder = true;
}

void MemoryFileSystem::Remove(const std::string& path) {
    const auto found = index_.find(path);
    if (found == index_.end())
        return;
    nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(found->second));
    index_.clear();
    for (size_t i = 0; i < nodes_.size(); ++i)
        index_[nodes_[i].path] = i;
}

std::string MemoryFileSystem::Get(const std::string& path) const {
    const auto found = index_.find(path);
    return found == index_.end() ? std::string() : nodes_[found->second].contents;
}

std::vector<std::string> MemoryFileSystem::Paths() const {
    std::vector<std::string> paths;
    for (const Node& node : nodes_)
        paths.push_back(node.path);
    return paths;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) {
    for (Node& node : nodes_) {
        if (IdentityOf(node.path) == IdentityOf(path))
            return &node;
    }
    return nullptr;
}

ReadResult MemoryFileSystem::ReadFile(const std::string& path, std::string* contents) {
    contents->clear();
    if (!exhausting_.empty() && path == exhausting_)
        throw std::bad_alloc();
    const Node* node = Find(path);
    if (!node)
        return ReadResult::Missing;
    if (node->folder || failReads_.count(path))
        return ReadResult::Failed;
    *contents = node->contents;
    return ReadResult::Ok;
}

bool MemoryFileSystem::WriteFile(const std::string& path, std::string_view contents) {
    const Node* node = Find(path);
    if ((node && node->folder) || failWrites_.count(path))
        return false;
    ++writes_;
    Put(node ? node->path : path, std::string(contents));
    return true;
}

std::vector<std::string> MemoryFileSystem::ListFolder(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    for (const Node& node : nodes_) {
        if (node.path.size() <= folder.size() || node.path.compare(0, folder.size(), folder) != 0)
            continue;
        const std::string name = node.path.substr(folder.size());
        if (name.find('/') == std::string::npos && MatchesWildcard(name, pattern))
            names.push_back(name);
    }
    return names;
}

bool MemoryFileSystem::Exists(const std::string& path) {
    return Find(path) != nullptr;
}

std::string MemoryFileSystem::IdentityOf(const std::string& path) {
    return ignoresCase_ ? AsciiLowerCopy(path) : path;
}
