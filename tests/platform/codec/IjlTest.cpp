#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/codec/Ijl.h"
#include "support/ParamName.h"
#include "support/TempHome.h"
#include "support/TestPictures.h"

using namespace platform;
using testing_support::Picture;
using testing_support::ReadFileBytes;
using testing_support::TempHome;

namespace {

int FilesIn(const std::string& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

// A record set up the way the writer uses it: defaults from ijlInit, then the DIB and JPG fields.
struct Encoder {
    JPEG_CORE_PROPERTIES props{};
    std::vector<std::uint8_t> rows;
    int init;

    Encoder(const Picture& picture, bool bottomUp, const char* file, int quality = 90)
        : rows(testing_support::DibRows(picture, bottomUp)), init(ijlInit(&props)) {
        props.DIBBytes = rows.data();
        props.DIBWidth = picture.width;
        props.DIBHeight = bottomUp ? -picture.height : picture.height;
        props.DIBPadBytes = testing_support::DibPitch(picture.width) - 3 * picture.width;
        props.JPGFile = file;
        props.JPGWidth = picture.width;
        props.JPGHeight = picture.height;
        props.jquality = quality;
    }
    ~Encoder() { ijlFree(&props); }
    int Write() { return ijlWrite(&props, IJL_JFILE_WRITEWHOLEIMAGE); }
};

TEST(Ijl, InitFillsTheDefaultsAndFreeReleasesTheEncoder) {
    JPEG_CORE_PROPERTIES props{};
    ASSERT_EQ(ijlInit(&props), IJL_OK);
    EXPECT_EQ(props.DIBChannels, 3u);
    EXPECT_EQ(props.DIBColor, IJL_BGR);
    EXPECT_EQ(props.JPGChannels, 3u);
    EXPECT_EQ(props.JPGColor, IJL_YCBCR);
    EXPECT_EQ(props.JPGSubsampling, IJL_420);
    EXPECT_EQ(props.jquality, 75u);
    EXPECT_EQ(props.DIBBytes, nullptr);
    EXPECT_NE(props.jprops.encoder, nullptr);
    EXPECT_EQ(ijlFree(&props), IJL_OK);
    EXPECT_EQ(props.jprops.encoder, nullptr);
    EXPECT_EQ(ijlFree(&props), IJL_OK);  // a second release is harmless
    EXPECT_EQ(ijlWrite(&props, IJL_JFILE_WRITEWHOLEIMAGE), IJL_INVALID_ENCODER);
}

struct Layout {
    int width;
    bool bottomUp;
};

class IjlLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(IjlLayouts, WritesThePictureUprightWithItsColours) {
    TempHome home;
    const Picture picture = testing_support::Gradient(GetParam().width, 24);
    Encoder encoder(picture, GetParam().bottomUp, "C:\\out.jpg");
    ASSERT_EQ(encoder.init, IJL_OK);
    ASSERT_EQ(encoder.Write(), IJL_OK);

    const auto decoded = testing_support::DecodeJpegFile(home / "out.jpg");
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width, picture.width);
    ASSERT_EQ(decoded->height, picture.height);
    EXPECT_LE(testing_support::MaxDifference(*decoded, picture), 12);
    EXPECT_EQ(encoder.props.JPGSizeBytes, ReadFileBytes(home / "out.jpg").size());
    EXPECT_EQ(FilesIn(home.Path()), 1);  // no temporary file left beside it
}

// Bottom-up rows at every padding are covered where the writer uses them (SaveDibToJpegTest).
INSTANTIATE_TEST_SUITE_P(RowOrders, IjlLayouts,
                         ::testing::Values(Layout{1, false}, Layout{2, false}, Layout{3, false},
                                           Layout{1366, false}, Layout{5, true}),
                         [](const auto& info) {
                             return "Width" + std::to_string(info.param.width) +
                                    (info.param.bottomUp ? "BottomUp" : "TopDown");
                         });

TEST(Ijl, QualityReachesTheEncoder) {
    TempHome home;
    const Picture picture = testing_support::ScreenLike(320, 200);
    Encoder low(picture, true, "C:\\low.jpg", 10);
    Encoder high(picture, true, "C:\\high.jpg", 95);
    ASSERT_EQ(low.Write(), IJL_OK);
    ASSERT_EQ(high.Write(), IJL_OK);
    EXPECT_LT(ReadFileBytes(home / "low.jpg").size() * 2, ReadFileBytes(home / "high.jpg").size());
}

struct Refusal {
    const char* what;
    std::function<void(JPEG_CORE_PROPERTIES&, int& mode)> change;
    int code;
};

class IjlRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(IjlRefusals, ReturnsItsCodeAndWritesNothing) {
    TempHome home;
    home.WriteFile("out.jpg", "earlier");
    Encoder encoder(testing_support::Gradient(8, 8), true, "C:\\out.jpg");
    int mode = IJL_JFILE_WRITEWHOLEIMAGE;
    GetParam().change(encoder.props, mode);
    EXPECT_EQ(ijlWrite(&encoder.props, mode), GetParam().code) << GetParam().what;
    EXPECT_EQ(ReadFileBytes(home / "out.jpg"), "earlier");
    EXPECT_EQ(FilesIn(home.Path()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IjlRefusals,
    ::testing::Values(
        Refusal{"another mode", [](auto&, int& m) { m = 9; }, IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"no pixels", [](auto& p, int&) { p.DIBBytes = nullptr; }, IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"no width", [](auto& p, int&) { p.DIBWidth = p.JPGWidth = 0; }, IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"no height", [](auto& p, int&) { p.DIBHeight = 0; }, IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"most negative height", [](auto& p, int&) { p.DIBHeight = INT32_MIN; },
                IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"negative width", [](auto& p, int&) { p.DIBWidth = p.JPGWidth = static_cast<DWORD>(-8); },
                IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"other JPG size", [](auto& p, int&) { p.JPGHeight = 4; }, IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"huge padding", [](auto& p, int&) { p.DIBPadBytes = 0xFFFFFFF0u; },
                IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"quality 0", [](auto& p, int&) { p.jquality = 0; }, IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"quality 101", [](auto& p, int&) { p.jquality = 101; }, IJL_INVALID_JPEG_PROPERTIES},
        Refusal{"four channels", [](auto& p, int&) { p.DIBChannels = 4; }, IJL_UNSUPPORTED_BYTES_PER_PIXEL},
        Refusal{"unknown colour", [](auto& p, int&) { p.DIBColor = 77; }, IJL_UNSUPPORTED_BYTES_PER_PIXEL},
        Refusal{"unknown subsampling", [](auto& p, int&) { p.JPGSubsampling = 7; },
                IJL_UNSUPPORTED_SUBSAMPLING},
        Refusal{"no file name", [](auto& p, int&) { p.JPGFile = nullptr; }, IJL_INVALID_FILENAME},
        Refusal{"empty file name", [](auto& p, int&) { p.JPGFile = ""; }, IJL_INVALID_FILENAME},
        Refusal{"network name", [](auto& p, int&) { p.JPGFile = "\\\\server\\share\\a.jpg"; },
                IJL_INVALID_FILENAME},
        Refusal{"missing folder", [](auto& p, int&) { p.JPGFile = "C:\\nowhere\\a.jpg"; }, IJL_FILE_ERROR},
        Refusal{"freed", [](auto& p, int&) { ijlFree(&p); }, IJL_INVALID_ENCODER}),
    [](const auto& info) { return testing_support::ParamName(info.param.what); });

TEST(Ijl, AFolderOfTheNameIsNotReplaced) {
    TempHome home;
    home.MakeFolder("out.jpg");
    Encoder encoder(testing_support::Gradient(8, 8), true, "C:\\out.jpg");
    EXPECT_EQ(encoder.Write(), IJL_ERR_FILECLOSE);
    EXPECT_TRUE(std::filesystem::is_directory(home / "out.jpg"));
    EXPECT_EQ(FilesIn(home.Path()), 1);
}

TEST(Ijl, ANullRecordIsRefused) {
    EXPECT_EQ(ijlInit(nullptr), IJL_INVALID_JPEG_PROPERTIES);
    EXPECT_EQ(ijlWrite(nullptr, IJL_JFILE_WRITEWHOLEIMAGE), IJL_INVALID_JPEG_PROPERTIES);
    EXPECT_EQ(ijlFree(nullptr), IJL_INVALID_JPEG_PROPERTIES);
}

}  // namespace
