#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "host/HostError.h"
#include "host/SavePicture.h"
#include "support/ErrorOf.h"
#include "support/FullDisk.h"
#include "support/TempHome.h"

using testing_support::ReadFileBytes;

namespace {

QImage Noise(int width, int height) {
    std::mt19937 random(width * 131 + height);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(random() & 255, random() & 255, random() & 255));
    return image;
}

using testing_support::ErrorOf;

class BitmapFiles : public ::testing::TestWithParam<int> {};

TEST_P(BitmapFiles, KeepEveryPixelForAnyRowPadding) {
    testing_support::TempHome home;
    const QImage image = Noise(GetParam(), 7);
    host::SavePicture(host::Picture(image), QStringLiteral("C:\\pic.bmp"));
    const std::string bytes = ReadFileBytes(home / "pic.bmp");
    const int stride = (GetParam() * 3 + 3) & ~3;
    ASSERT_EQ(bytes.size(), size_t(54 + stride * 7));
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes[10], 54);
    EXPECT_EQ(bytes[14], 40);
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(uint8_t(bytes[38]) | uint8_t(bytes[39]) << 8, 3780);  // 96 dpi
    // Bottom-up: the first row in the file is the picture's last.
    EXPECT_EQ(uint8_t(bytes[54]), qBlue(image.pixel(0, 6)));
    EXPECT_EQ(QImage((home / "pic.bmp").c_str()).convertToFormat(QImage::Format_RGB32), image);
}

INSTANTIATE_TEST_SUITE_P(Widths, BitmapFiles, ::testing::Values(1, 2, 3, 4, 5, 1366),
                         [](const auto& info) { return "Width" + std::to_string(info.param); });

TEST(BitmapFileFailures, LeaveTheEarlierFileAndNothingPartial) {
    testing_support::TempHome home;
    const host::Picture picture(Noise(300, 200));
    EXPECT_EQ(ErrorOf([&] { host::SavePicture(picture, QStringLiteral("C:\\missing\\a.bmp")); }),
              host::kPathNotFound);

    home.WriteFile("a.bmp", "earlier");
    int error = 0;
    {
        testing_support::FileSizeLimit limit(4096);
        error = ErrorOf([&] { host::SavePicture(picture, QStringLiteral("C:\\a.bmp")); });
    }
    EXPECT_EQ(error, host::kDiskFull);
    EXPECT_EQ(ReadFileBytes(home / "a.bmp"), "earlier");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.Path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST(BitmapFileFailures, ReadOnlyEarlierFileIsNotReplaced) {
    testing_support::TempHome home;
    home.WriteFile("a.bmp", "earlier");
    std::filesystem::permissions(home / "a.bmp", std::filesystem::perms::owner_read);
    EXPECT_EQ(ErrorOf([] { host::SavePicture(host::Picture(Noise(4, 4)), QStringLiteral("C:\\a.bmp")); }),
              host::kPermissionDenied);
    EXPECT_EQ(ReadFileBytes(home / "a.bmp"), "earlier");
}

}  // namespace
