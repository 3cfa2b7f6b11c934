#include "support/TempHome.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testing_support {

TempHome::TempHome() {
    std::string pattern = (fs::temp_directory_path() / "tallowin-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = fs::canonical(pattern).string();
    if (const char* home = std::getenv("HOME")) {
        hadHome_ = true;
        oldHome_ = home;
    }
    setenv("HOME", path_.c_str(), 1);
    oldCwd_ = fs::current_path().string();
    fs::current_path(path_);
}

TempHome::~TempHome() {
    std::error_code ignored;
    fs::current_path(oldCwd_, ignored);
    if (hadHome_)
        setenv("HOME", oldHome_.c_str(), 1);
    else
        unsetenv("HOME");
    // Folders a test made read-only must be writable again to be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

void TempHome::MakeFolder(const std::string& relative) const { fs::create_directories(*this / relative); }

void TempHome::WriteFile(const std::string& relative, const std::string& content) const {
    std::ofstream(*this / relative, std::ios::binary) << content;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool FileExists(const std::string& path) { return fs::exists(path); }

}  // namespace testing_support
