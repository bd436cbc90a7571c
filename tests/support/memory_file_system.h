#pragma once
// An in-memory FileSystem for tests: deterministic listing order (the order files were added),
// folders, and failures on demand.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "config/file_system.h"

class MemoryFileSystem final : public FileSystem {
  public:
    // Adds or replaces a file; a new name is listed after the existing ones.
    void Put(const std::string& path, std::string contents);
    void PutFolder(const std::string& path);
    void Remove(const std::string& path);
    bool Has(const std::string& path) const { return index_.count(path) != 0; }
    std::string Get(const std::string& path) const;
    // Paths in listing order.
    std::vector<std::string> Paths() const;

    void FailReadsOf(const std::string& path) { failReads_.insert(path); }
    void ReadsWorkAgain(const std::string& path) { failReads_.erase(path); }
    void FailWritesOf(const std::string& path) { failWrites_.insert(path); }
    // Reading it throws std::bad_alloc, as an allocation too large for the host would.
    void ExhaustMemoryReading(const std::string& path) { exhausting_ = path; }
    void SetIgnoresCase(bool ignores) { ignoresCase_ = ignores; }
    int WriteCount() const { return writes_; }

    ReadResult ReadFile(const std::string& path, std::string* contents) override;
    bool WriteFile(const std::string& path, std::string_view contents) override;
    std::vector<std::string> ListFolder(const std::string& folder, const std::string& pattern) override;
    bool Exists(const std::string& path) override;
    std::string IdentityOf(const std::string& path) override;
    LeadByteTest LeadBytes() override { return leadBytes; }

    LeadByteTest leadBytes = nullptr;

  private:
    struct Node {
        std::string path;
        std::string contents;
        bool folder = false;
    };
    Node* Find(const std::string& path);

    std::vector<Node> nodes_; // listing order
    std::map<std::string, size_t> index_;
    std::set<std::string> failReads_;
    std::set<std::string> failWrites_;
    std::string exhausting_;
    bool ignoresCase_ = false;
    int writes_ = 0;
};
