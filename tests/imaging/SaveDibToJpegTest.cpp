#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>

#include "SavedFiles.h"
#include "host/App.h"
#include "host/HostError.h"
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "support/FullDisk.h"
#include "support/ParamName.h"
#include "support/TempHome.h"
#include "support/TestPictures.h"

using mIntelJPEGLibrary::SaveDibToJpeg;
using testing_support::Picture;
using testing_support::ReadFileBytes;
using testing_support::TempHome;

namespace {

// Runs the writer and returns the error it raised, if any.
std::optional<host::HostError> SaveRaising(const cDIBSection& dib, const QString& file, int quality = 90) {
    try {
        EXPECT_TRUE(SaveDibToJpeg(dib, file, quality));
    } catch (const host::HostError& e) {
        return e;
    }
    return std::nullopt;
}

class SaveDibToJpegWidths : public ::testing::TestWithParam<int> {};

TEST_P(SaveDibToJpegWidths, WritesThePictureUprightWithItsColours) {
    TempHome home;
    const Picture picture = testing_support::Gradient(GetParam(), 20);
    Buffer buffer(picture);
    EXPECT_TRUE(SaveDibToJpeg(buffer.dib, "C:\\scrn000.jpg", 90));
    const auto decoded = testing_support::DecodeJpegFile(home / "scrn000.jpg");
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width, picture.width);
    ASSERT_EQ(decoded->height, picture.height);
    EXPECT_LE(testing_support::MaxDifference(*decoded, picture), 12);
    EXPECT_EQ(FilesIn(home.Path()), std::vector<std::string>{"scrn000.jpg"});
}

INSTANTIATE_TEST_SUITE_P(EveryRowPadding, SaveDibToJpegWidths, ::testing::Values(1, 2, 3, 4, 5, 1366),
                         [](const auto& info) { return "Width" + std::to_string(info.param); });

TEST(SaveDibToJpeg, AScreenGrabAtQuality90StaysFaithful) {
    TempHome home;
    const Picture picture = testing_support::ScreenLike(1366, 768);
    Buffer buffer(picture);
    ASSERT_TRUE(SaveDibToJpeg(buffer.dib, "C:\\grab.jpg", 90));
    const auto decoded = testing_support::DecodeJpegFile(home / "grab.jpg");
    ASSERT_TRUE(decoded);
    EXPECT_GT(testing_support::Psnr(*decoded, picture), 38.0);
}

TEST(SaveDibToJpeg, ReplacingKeepsTheEarlierFilesTimesAndPermissions) {
    TempHome home;
    home.MakeFolder("Shots");
    home.WriteFile("Shots/scrn007.jpg", "an earlier picture");
    ASSERT_EQ(::chmod((home / "Shots/scrn007.jpg").c_str(), 0640), 0);
    const timespec access{1'500'000'000, 123'456'789}, write{1'400'000'000, 987'654'321};
    SetTimes(home / "Shots/scrn007.jpg", access, write);

    const Picture picture = testing_support::Gradient(40, 30);
    Buffer buffer(picture);
    EXPECT_TRUE(SaveDibToJpeg(buffer.dib, "C:\\Shots\\scrn007.jpg", 90));

    const struct stat st = Stat(home / "Shots/scrn007.jpg");  // before reading it moves the access time
    EXPECT_TRUE(SameTime(st.st_atim, access));
    EXPECT_TRUE(SameTime(st.st_mtim, write));
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    const auto decoded = testing_support::DecodeJpegFile(home / "Shots/scrn007.jpg");
    ASSERT_TRUE(decoded);
    EXPECT_LE(testing_support::MaxDifference(*decoded, picture), 12);
    EXPECT_EQ(FilesIn(home / "Shots"), std::vector<std::string>{"scrn007.jpg"});
}

TEST(SaveDibToJpeg, ANewFileKeepsItsOwnTimes) {
    TempHome home;
    timespec before{};
    clock_gettime(CLOCK_REALTIME, &before);
    before.tv_sec -= 2;  // file-system clocks are coarser than this one
    Buffer buffer(testing_support::Gradient(16, 16));
    EXPECT_TRUE(SaveDibToJpeg(buffer.dib, "C:\\new.jpg", 90));
    const struct stat st = Stat(home / "new.jpg");
    EXPECT_GE(st.st_mtim.tv_sec, before.tv_sec);
    EXPECT_GE(st.st_atim.tv_sec, before.tv_sec);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
}

TEST(SaveDibToJpeg, AMissingFolderRaisesTheWriteErrorAndLeavesNothing) {
    TempHome home;
    Buffer buffer(testing_support::Gradient(16, 16));
    const auto error = SaveRaising(buffer.dib, "C:\\Nowhere\\scrn000.jpg");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 26001);
    EXPECT_EQ(error->Source(), host::App::EXEName() + ".mIntelJPEGLibrary");
    EXPECT_TRUE(error->Description().startsWith("Failed to save to JPG "))
        << error->Description().toStdString();
    EXPECT_EQ(error->Description(), "Failed to save to JPG -23");
    EXPECT_EQ(error->HelpContext(), 48);
    EXPECT_TRUE(FilesIn(home.Path()).empty());
}

// Buffers, names and qualities the library cannot write: error 26001 with its code, nothing on disk.
struct Refusal {
    const char* what;
    bool created;
    QString file;
    int quality;
    const char* description;
};

class SaveDibToJpegRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(SaveDibToJpegRefusals, RaiseTheLibrarysCode) {
    TempHome home;
    const Refusal& r = GetParam();
    std::optional<Buffer> buffer;
    cDIBSection empty;
    if (r.created) buffer.emplace(testing_support::Gradient(8, 8));
    const auto error = SaveRaising(buffer ? buffer->dib : empty, r.file, r.quality);
    ASSERT_TRUE(error) << r.what;
    EXPECT_EQ(error->Number(), 26001);
    EXPECT_EQ(error->Description(), r.description) << r.what;
    EXPECT_TRUE(FilesIn(home.Path()).empty()) << r.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveDibToJpegRefusals,
    ::testing::Values(
        Refusal{"empty buffer", false, "C:\\a.jpg", 90, "Failed to save to JPG -8"},
        Refusal{"quality 0 passes unchanged", true, "C:\\a.jpg", 0, "Failed to save to JPG -8"},
        Refusal{"quality 101 passes unchanged", true, "C:\\a.jpg", 101, "Failed to save to JPG -8"},
        Refusal{"zero character in the name", true, QString("C:\\a.jpg") + QChar(0) + "x", 90,
                "Failed to save to JPG -10"},
        Refusal{"network name", true, "\\\\server\\share\\a.jpg", 90, "Failed to save to JPG -10"}),
    [](const auto& info) { return testing_support::ParamName(info.param.what); });

TEST(SaveDibToJpeg, AReadOnlyEarlierFileIsNotReplaced) {
    TempHome home;
    home.WriteFile("scrn000.jpg", "keep me");
    ASSERT_EQ(::chmod((home / "scrn000.jpg").c_str(), 0444), 0);
    Buffer buffer(testing_support::Gradient(8, 8));
    const auto error = SaveRaising(buffer.dib, "C:\\scrn000.jpg");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), host::kPathFileAccessError);
    EXPECT_EQ(ReadFileBytes(home / "scrn000.jpg"), "keep me");
    EXPECT_EQ(Stat(home / "scrn000.jpg").st_mode & 07777, 0444u);
}

// A write that runs out of room keeps the earlier file, its bytes and times, and leaves no
// partial file behind.
enum class Room { SmallDisk, FileSizeLimit };

class SaveDibToJpegOutOfRoom : public ::testing::TestWithParam<Room> {};

TEST_P(SaveDibToJpegOutOfRoom, KeepsTheEarlierFileByteForByte) {
    TempHome home;
    home.MakeFolder("small");
    std::optional<testing_support::SmallDisk> disk;
    if (GetParam() == Room::SmallDisk && !disk.emplace(home / "small", 64).Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    std::string earlier(20000, '\0');
    for (size_t i = 0; i < earlier.size(); ++i) earlier[i] = static_cast<char>(i * 7);
    home.WriteFile("small/scrn000.jpg", earlier);
    SetTimes(home / "small/scrn000.jpg", {1'300'000'000, 11}, {1'200'000'000, 22});

    Buffer buffer(testing_support::Noise(300, 300));
    std::optional<host::HostError> error;
    if (GetParam() == Room::FileSizeLimit) {
        testing_support::FileSizeLimit limit(48 * 1024);
        error = SaveRaising(buffer.dib, "C:\\small\\scrn000.jpg");
    } else {
        error = SaveRaising(buffer.dib, "C:\\small\\scrn000.jpg");
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 26001);
    EXPECT_EQ(error->Description(), "Failed to save to JPG -23");
    EXPECT_EQ(ReadFileBytes(home / "small/scrn000.jpg"), earlier);
    EXPECT_TRUE(SameTime(Stat(home / "small/scrn000.jpg").st_mtim, timespec{1'200'000'000, 22}));
    EXPECT_EQ(FilesIn(home / "small"), std::vector<std::string>{"scrn000.jpg"});
}

INSTANTIATE_TEST_SUITE_P(Ways, SaveDibToJpegOutOfRoom,
                         ::testing::Values(Room::SmallDisk, Room::FileSizeLimit), [](const auto& info) {
                             return info.param == Room::SmallDisk ? std::string("SmallDisk")
                                                                  : std::string("FileSizeLimit");
                         });

}  // namespace
