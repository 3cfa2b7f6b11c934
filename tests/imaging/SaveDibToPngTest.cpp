// The PNG writer as the capture calls it: the buffer's exact pixels in the file, the earlier file's
// times and permissions kept, and its failures raised the way the JPEG writer raises them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "SavedFiles.h"
#include "host/App.h"
#include "host/HostError.h"
#include "imaging/mPngWriter.h"
#include "support/FullDisk.h"
#include "support/ParamName.h"
#include "support/PngRead.h"
#include "support/TempHome.h"
#include "support/TestPictures.h"

using mPngWriter::SaveDibToPng;
using testing_support::Picture;
using testing_support::ReadFileBytes;
using testing_support::TempHome;

namespace {

std::optional<host::HostError> SaveRaising(const cDIBSection& dib, const QString& file) {
    try {
        EXPECT_TRUE(SaveDibToPng(dib, file));
    } catch (const host::HostError& e) {
        return e;
    }
    return std::nullopt;
}

// The file's pixels as libpng reads them, top row first; empty when it refuses the file.
std::vector<std::uint8_t> PixelsOf(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    const auto read =
        testing_support::ReadPngFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    return read && read->warnings.empty() ? read->rgb : std::vector<std::uint8_t>{};
}

class SaveDibToPngPictures : public ::testing::TestWithParam<int> {};

TEST_P(SaveDibToPngPictures, WritesTheBuffersExactPixels) {
    TempHome home;
    const Picture picture = testing_support::ScreenLike(GetParam(), 37);
    Buffer buffer(picture);
    EXPECT_TRUE(SaveDibToPng(buffer.dib, "C:\\scrn000.png"));
    EXPECT_EQ(PixelsOf(home / "scrn000.png"), picture.rgb);
    EXPECT_EQ(FilesIn(home.Path()), std::vector<std::string>{"scrn000.png"});
}

INSTANTIATE_TEST_SUITE_P(EveryRowPadding, SaveDibToPngPictures, ::testing::Values(1, 2, 3, 4, 5, 1366),
                         [](const auto& info) { return "Width" + std::to_string(info.param); });

TEST(SaveDibToPng, ReplacingKeepsTheEarlierFilesTimesAndPermissions) {
    TempHome home;
    home.MakeFolder("Shots");
    home.WriteFile("Shots/scrn007.png", "an earlier picture");
    ASSERT_EQ(::chmod((home / "Shots/scrn007.png").c_str(), 0640), 0);
    const timespec access{1'500'000'000, 123'456'789}, write{1'400'000'000, 987'654'321};
    SetTimes(home / "Shots/scrn007.png", access, write);

    const Picture picture = testing_support::Gradient(40, 30);
    Buffer buffer(picture);
    EXPECT_TRUE(SaveDibToPng(buffer.dib, "C:\\Shots\\scrn007.png"));

    const struct stat st = Stat(home / "Shots/scrn007.png");
    EXPECT_TRUE(SameTime(st.st_atim, access));
    EXPECT_TRUE(SameTime(st.st_mtim, write));
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(PixelsOf(home / "Shots/scrn007.png"), picture.rgb);
    EXPECT_EQ(FilesIn(home / "Shots"), std::vector<std::string>{"scrn007.png"});
}

TEST(SaveDibToPng, AReadOnlyEarlierFileIsNotReplaced) {
    TempHome home;
    home.WriteFile("scrn000.png", "keep me");
    ASSERT_EQ(::chmod((home / "scrn000.png").c_str(), 0444), 0);
    Buffer buffer(testing_support::Gradient(8, 8));
    const auto error = SaveRaising(buffer.dib, "C:\\scrn000.png");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), host::kPathFileAccessError);
    EXPECT_EQ(ReadFileBytes(home / "scrn000.png"), "keep me");
}

// What the writer refuses: error 26002 with its code, the detail naming the file, nothing on disk.
struct Refusal {
    const char* name;
    bool created;
    QString file;
    const char* description;
    const char* detail;  // what the detail begins with, below the home folder ("" for none)
};

class SaveDibToPngRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(SaveDibToPngRefusals, RaiseTheWritersCode) {
    TempHome home;
    const Refusal& r = GetParam();
    std::optional<Buffer> buffer;
    cDIBSection empty;
    if (r.created) buffer.emplace(testing_support::Gradient(8, 8));
    const auto error = SaveRaising(buffer ? buffer->dib : empty, r.file);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 26002);
    EXPECT_EQ(error->Source(), host::App::EXEName() + ".mPngWriter");
    EXPECT_EQ(error->Description(), r.description);
    if (*r.detail) {
        EXPECT_TRUE(error->Detail().startsWith(QString::fromStdString(home / r.detail)))
            << error->Detail().toStdString();
    }
    EXPECT_TRUE(FilesIn(home.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveDibToPngRefusals,
    ::testing::Values(
        Refusal{"EmptyBuffer", false, "C:\\a.png", "Failed to save to PNG -8", "a.png"},
        Refusal{"MissingFolder", true, "C:\\Nowhere\\a.png", "Failed to save to PNG -23", "Nowhere/a.png: "},
        Refusal{"ZeroCharacterInTheName", true, QString("C:\\a.png") + QChar(0) + "x",
                "Failed to save to PNG -10", ""},
        Refusal{"NetworkName", true, "\\\\server\\share\\a.png", "Failed to save to PNG -10", ""}),
    testing_support::ByName);

// A write that runs out of room keeps the earlier file, its bytes and times, and leaves nothing
// partial behind.
enum class Room { SmallDisk, FileSizeLimit };

class SaveDibToPngOutOfRoom : public ::testing::TestWithParam<Room> {};

TEST_P(SaveDibToPngOutOfRoom, KeepsTheEarlierFileByteForByte) {
    TempHome home;
    home.MakeFolder("small");
    std::optional<testing_support::SmallDisk> disk;
    if (GetParam() == Room::SmallDisk && !disk.emplace(home / "small", 64).Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string earlier(20000, 'e');
    home.WriteFile("small/scrn000.png", earlier);
    SetTimes(home / "small/scrn000.png", {1'300'000'000, 11}, {1'200'000'000, 22});

    Buffer buffer(testing_support::Noise(300, 300));  // noise does not deflate: 270 kB
    std::optional<host::HostError> error;
    if (GetParam() == Room::FileSizeLimit) {
        testing_support::FileSizeLimit limit(48 * 1024);
        error = SaveRaising(buffer.dib, "C:\\small\\scrn000.png");
    } else {
        error = SaveRaising(buffer.dib, "C:\\small\\scrn000.png");
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 26002);
    EXPECT_EQ(error->Description(), "Failed to save to PNG -23");
    EXPECT_EQ(ReadFileBytes(home / "small/scrn000.png"), earlier);
    EXPECT_TRUE(SameTime(Stat(home / "small/scrn000.png").st_mtim, timespec{1'200'000'000, 22}));
    EXPECT_EQ(FilesIn(home / "small"), std::vector<std::string>{"scrn000.png"});
}

INSTANTIATE_TEST_SUITE_P(Ways, SaveDibToPngOutOfRoom, ::testing::Values(Room::SmallDisk, Room::FileSizeLimit),
                         [](const auto& info) {
                             return info.param == Room::SmallDisk ? std::string("SmallDisk")
                                                                  : std::string("FileSizeLimit");
                         });

}  // namespace
