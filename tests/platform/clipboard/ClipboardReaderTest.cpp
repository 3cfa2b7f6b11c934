// The reader over the toolkit's in-process clipboard (the one the headless platform offers): the
// rules every backend shares. The X11 backend with real owners is driven by tests/e2e.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/clipboard/ClipboardReader.h"
#include "platform/clipboard/QtClipboard.h"
#include "support/GrabImage.h"

using platform::ClipboardReader;
using testing_support::Grab;

namespace {

void Offer(const char* type, const QByteArray& bytes) {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(type), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// What the reader found, as an image to compare; a null image for no picture.
QImage Image(const std::shared_ptr<platform::PictureBits>& picture) {
    return picture ? picture->ToImage() : QImage();
}

bool ClipboardHoldsSomething() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && !data->formats().isEmpty();
}

class Reading : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }

    ClipboardReader reader{std::make_unique<platform::QtClipboard>()};
};

TEST_F(Reading, TakesThePictureOnTheClipboardAsOftenAsAsked) {
    const QImage grab = Grab(40, 30, qRgb(200, 30, 90));
    QGuiApplication::clipboard()->setImage(grab);
    const ClipboardReader::Found first = reader.Take();
    EXPECT_EQ(Image(first.picture), grab);
    // Until it is emptied (a capture that failed tries again), the same picture stays ready.
    const ClipboardReader::Found second = reader.Take();
    EXPECT_EQ(Image(second.picture), grab);
    EXPECT_EQ(second.mark, first.mark);
}

TEST_F(Reading, PicturesAfterTheKeptMemoryWentBackAreWhole) {
    QGuiApplication::clipboard()->setImage(Grab(400, 300, qRgb(200, 30, 90)));
    const ClipboardReader::Found first = reader.Take();
    ASSERT_TRUE(first.picture != nullptr);
    reader.Clear(first.mark);    // captured
    reader.ReleaseKeptMemory();  // a minute without grabs
    const QImage next = Grab(500, 200, qRgb(20, 130, 9));
    QGuiApplication::clipboard()->setImage(next);
    EXPECT_EQ(Image(reader.Take().picture), next);
}

TEST_F(Reading, TextAndAnEmptyClipboardHoldNoPicture) {
    EXPECT_TRUE(reader.Take().picture == nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("just text"));
    EXPECT_TRUE(reader.Take().picture == nullptr);
}

TEST_F(Reading, APictureIsReadAsWhatItsBytesAreWhateverTypeItIsOfferedAs) {
    const QImage grab = Grab(30, 20, qRgb(10, 200, 30));
    Offer("image/bmp", Png(grab));
    EXPECT_EQ(Image(reader.Take().picture), grab);
}

TEST_F(Reading, GrabsCopiedBeforeATickWaitAndAreTakenInTheOrderCopied) {
    const QImage first = Grab(30, 20, qRgb(1, 2, 3)), second = Grab(31, 20, qRgb(4, 5, 6)),
                 third = Grab(32, 20, qRgb(7, 8, 9));
    for (const QImage& grab : {first, second, third}) {
        QGuiApplication::clipboard()->setImage(grab);
        ASSERT_TRUE(reader.Take().picture != nullptr);  // read before the next copy replaces it
    }
    for (const QImage& grab : {first, second, third}) {
        const ClipboardReader::Found found = reader.Take();
        ASSERT_EQ(Image(found.picture), grab);
        // A waiting grab is no longer on the clipboard: only the last one's capture empties it.
        EXPECT_EQ(ClipboardHoldsSomething(), true);
        reader.Clear(found.mark);
    }
    EXPECT_FALSE(ClipboardHoldsSomething());
    EXPECT_TRUE(reader.Take().picture == nullptr);
}

TEST_F(Reading, TheSameGrabOfferedAnewBeforeATickIsSavedOnce) {
    // As a compositor does when it takes over the copy of a program that ended.
    const QImage grab = Grab(30, 20, qRgb(1, 2, 3));
    for (int copy = 0; copy < 2; ++copy) {
        QGuiApplication::clipboard()->setImage(grab);
        ASSERT_TRUE(reader.Take().picture != nullptr);
    }
    const ClipboardReader::Found found = reader.Take();
    EXPECT_EQ(Image(found.picture), grab);
    reader.Clear(found.mark);
    EXPECT_FALSE(ClipboardHoldsSomething());
    EXPECT_TRUE(reader.Take().picture == nullptr);
}

TEST_F(Reading, TheSameGrabOfferedAnewWhileItIsSavedIsEmptiedWithIt) {
    const QImage grab = Grab(30, 20, qRgb(1, 2, 3));
    QGuiApplication::clipboard()->setImage(grab);
    const ClipboardReader::Found saving = reader.Take();
    ASSERT_TRUE(saving.picture != nullptr);
    QGuiApplication::clipboard()->setImage(grab);  // offered anew while the tick saves it
    ASSERT_TRUE(reader.Take().picture != nullptr);
    reader.Clear(saving.mark);
    EXPECT_FALSE(ClipboardHoldsSomething());
    EXPECT_TRUE(reader.Take().picture == nullptr);
}

TEST_F(Reading, GrabsBeyondTheBacklogAreCountedAsMissedOnce) {
    const std::size_t copies = ClipboardReader::kMaxWaiting + 3;
    for (std::size_t i = 0; i < copies; ++i) {
        QGuiApplication::clipboard()->setImage(Grab(20 + int(i), 10, qRgb(int(i), 0, 0)));
        ASSERT_TRUE(reader.Take().picture != nullptr);
    }
    for (std::size_t i = 0; i < ClipboardReader::kMaxWaiting; ++i) {
        const ClipboardReader::Found found = reader.Take();
        EXPECT_EQ(found.missed, 0u);
        EXPECT_EQ(Image(found.picture).width(), 20 + int(i));
        reader.Clear(found.mark);
    }
    // The last copy is the clipboard's own; the two between were missed.
    const ClipboardReader::Found last = reader.Take();
    EXPECT_EQ(last.missed, 2u);
    EXPECT_EQ(Image(last.picture).width(), 20 + int(copies) - 1);
    EXPECT_EQ(reader.Take().missed, 0u);
}

TEST_F(Reading, ABrokenPictureIsNoneAndStaysOnTheClipboard) {
    QByteArray cut = Png(Grab(300, 200, qRgb(9, 9, 9)));
    cut.truncate(cut.size() / 2);
    Offer("image/png", cut);
    EXPECT_TRUE(reader.Take().picture == nullptr);
    EXPECT_TRUE(ClipboardHoldsSomething());
}

TEST_F(Reading, EmptyingTakesOnlyTheContentsThatWereRead) {
    QGuiApplication::clipboard()->setImage(Grab(40, 30, qRgb(1, 1, 1)));
    const ClipboardReader::Found read = reader.Take();
    const QImage newer = Grab(20, 10, qRgb(250, 250, 250));
    QGuiApplication::clipboard()->setImage(newer);
    reader.Clear(read.mark);
    EXPECT_EQ(Image(reader.Take().picture), newer);
    EXPECT_TRUE(ClipboardHoldsSomething());
}

TEST_F(Reading, EmptiedContentsAreNeverOfferedAgain) {
    QGuiApplication::clipboard()->setImage(Grab(40, 30, qRgb(1, 1, 1)));
    reader.Clear(reader.Take().mark);
    EXPECT_FALSE(ClipboardHoldsSomething());
    EXPECT_TRUE(reader.Take().picture == nullptr);
}

TEST_F(Reading, ThePicturePutBackRightAfterEmptyingIsNotOfferedAgain) {
    const QImage grab = Grab(40, 30, qRgb(10, 200, 10));
    QGuiApplication::clipboard()->setImage(grab);
    reader.Clear(reader.Take().mark);
    QGuiApplication::clipboard()->setImage(grab);  // a clipboard manager puts it back
    EXPECT_TRUE(reader.Take().picture == nullptr);
    EXPECT_TRUE(ClipboardHoldsSomething());  // and it is left there
}

TEST_F(Reading, ADifferentPictureAfterEmptyingIsOffered) {
    QGuiApplication::clipboard()->setImage(Grab(40, 30, qRgb(10, 200, 10)));
    reader.Clear(reader.Take().mark);
    const QImage other = Grab(40, 30, qRgb(10, 200, 11));
    QGuiApplication::clipboard()->setImage(other);
    EXPECT_EQ(Image(reader.Take().picture), other);
}

TEST_F(Reading, TheSamePictureCopiedAgainAfterAnotherGrabIsOffered) {
    const QImage grab = Grab(40, 30, qRgb(10, 200, 10));
    QGuiApplication::clipboard()->setImage(grab);
    reader.Clear(reader.Take().mark);
    QGuiApplication::clipboard()->setText(QStringLiteral("something else first"));
    QGuiApplication::clipboard()->setImage(grab);
    EXPECT_EQ(Image(reader.Take().picture), grab);
}

TEST_F(Reading, APictureTooLargeForABitmapIsToldOnceWithItsSize) {
    // A real PNG header for 19000 x 19000 pixels, with a length that could inflate to them.
    QByteArray png = Png(Grab(1, 1, 0));
    png.replace(16, 8, QByteArray::fromHex("00004a3800004a38"));
    png.insert(33, QByteArray(1100000, '\0'));
    Offer("image/png", png);
    EXPECT_EQ(reader.Take().tooLarge, QSize(19000, 19000));
    const ClipboardReader::Found again = reader.Take();
    EXPECT_FALSE(again.tooLarge.isValid());
    EXPECT_TRUE(again.picture == nullptr);
    EXPECT_TRUE(ClipboardHoldsSomething());
}

// The toolkit's clipboard, counting what the reader fetches from it.
class CountingBackend final : public platform::ClipboardBackend {
public:
    explicit CountingBackend(int& fetches) : fetches_(fetches) {}
    void Start(Listener listener) override { inner_.Start(std::move(listener)); }
    platform::FetchResult Fetch(platform::ClipboardMark mark, const std::string& type,
                                platform::PixelBytes& bytes) override {
        ++fetches_;
        return inner_.Fetch(mark, type, bytes);
    }
    void Clear(platform::ClipboardMark mark) override { inner_.Clear(mark); }
    void ClearAll() override { inner_.ClearAll(); }

private:
    platform::QtClipboard inner_;
    int& fetches_;
};

class Pausing : public Reading {
protected:
    int fetches = 0;
    ClipboardReader counted{std::make_unique<CountingBackend>(fetches)};
};

TEST_F(Pausing, APictureCopiedWhilePausedIsNotReadAndStaysThroughTheResume) {
    counted.SetPaused(true);
    QGuiApplication::clipboard()->setImage(Grab(40, 30, qRgb(200, 30, 90)));
    EXPECT_TRUE(counted.Take().picture == nullptr);
    EXPECT_EQ(fetches, 0);
    counted.SetPaused(false);
    EXPECT_TRUE(counted.Take().picture == nullptr);
    EXPECT_EQ(fetches, 0);
    EXPECT_TRUE(ClipboardHoldsSomething());
    // Only what is copied after the resume is a grab.
    const QImage next = Grab(41, 30, qRgb(20, 130, 9));
    QGuiApplication::clipboard()->setImage(next);
    EXPECT_EQ(Image(counted.Take().picture), next);
}

TEST_F(Pausing, APictureReadBeforeThePauseIsLeftOnTheClipboard) {
    QGuiApplication::clipboard()->setImage(Grab(40, 30, qRgb(200, 30, 90)));
    ASSERT_TRUE(counted.Take().picture != nullptr);
    counted.SetPaused(true);
    EXPECT_TRUE(counted.Take().picture == nullptr);
    counted.SetPaused(false);
    EXPECT_TRUE(counted.Take().picture == nullptr);
    EXPECT_TRUE(ClipboardHoldsSomething());
}

TEST_F(Pausing, GrabsWaitingAtThePauseAreTakenAfterTheResume) {
    const QImage first = Grab(30, 20, qRgb(1, 2, 3));
    QGuiApplication::clipboard()->setImage(first);
    ASSERT_TRUE(counted.Take().picture != nullptr);
    QGuiApplication::clipboard()->setImage(Grab(31, 20, qRgb(4, 5, 6)));  // the first now waits
    counted.SetPaused(true);
    EXPECT_TRUE(counted.Take().picture == nullptr);
    counted.SetPaused(false);
    const ClipboardReader::Found waiting = counted.Take();
    EXPECT_EQ(Image(waiting.picture), first);
    counted.Clear(waiting.mark);
    EXPECT_TRUE(counted.Take().picture == nullptr);  // the clipboard's own was there at the pause
    EXPECT_TRUE(ClipboardHoldsSomething());
}

struct TypeCase {
    const char* name;
    std::vector<std::string> offered;
    std::string chosen;
};

class PictureTypes : public ::testing::TestWithParam<TypeCase> {};

TEST_P(PictureTypes, LosslessComesFirst) {
    EXPECT_EQ(ClipboardReader::PictureType(GetParam().offered), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Offers, PictureTypes,
    ::testing::Values(TypeCase{"PngBeforeJpeg", {"image/jpeg", "image/png"}, "image/png"},
                      TypeCase{"BitmapBeforeJpeg", {"TARGETS", "image/jpeg", "image/bmp"}, "image/bmp"},
                      TypeCase{"AnyImageTypeAtLast", {"TIMESTAMP", "image/webp"}, "image/webp"},
                      TypeCase{"TextIsNoPicture", {"UTF8_STRING", "text/plain"}, ""},
                      TypeCase{"NothingOffered", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
