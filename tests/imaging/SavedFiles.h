#pragma once
// What the picture writers' tests share: a buffer holding a test picture as a capture fills it, and
// the files, times and permissions a save leaves.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/cDIBSection.h"
#include "support/TestPictures.h"

namespace {

// A buffer holding the picture, bottom-up, the way a capture fills it.
struct Buffer {
    cDIBSection dib;
    explicit Buffer(const testing_support::Picture& picture) {
        if (!dib.Create(picture.width, picture.height)) throw std::runtime_error("no DIB section");
        const auto rows = testing_support::DibRows(picture, true);
        if (dib.BytesPerScanLine() != testing_support::DibPitch(picture.width))
            throw std::runtime_error("layout");
        std::memcpy(dib.DIBSectionBitsPtr(), rows.data(), rows.size());
    }
};

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

struct stat Stat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

void SetTimes(const std::string& path, timespec access, timespec write) {
    const timespec times[2] = {access, write};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

}  // namespace
