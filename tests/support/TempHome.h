#pragma once
// A fresh temporary folder that stands in as the user's home (and so as drive C:) and as the
// current directory for the life of one test; both are restored afterwards.

#include <string>

namespace testing_support {

class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Path() const { return path_; }
    // path_ + "/" + relative
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }
    // Makes a folder (and its parents) below the home.
    void MakeFolder(const std::string& relative) const;
    // Writes a small file below the home.
    void WriteFile(const std::string& relative, const std::string& content) const;

private:
    std::string path_;
    std::string oldHome_;
    std::string oldCwd_;
    bool hadHome_ = false;
};

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace testing_support
