#pragma once
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the scope. Path() ends with a separator, like a module folder.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Writes or reads a whole file directly (not through the code under test).
void WriteWholeFile(const std::string& path, const std::string& contents);
std::string ReadWholeFile(const std::string& path);
