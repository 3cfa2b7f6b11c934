#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QWidget>
#include <filesystem>

#include "capture/CaptureCycle.h"
#include "host/Clipboard.h"
#include "host/HostError.h"
#include "support/GrabImage.h"
#include "support/TempHome.h"

using testing_support::FileExists;
using testing_support::Grab;

namespace {

bool ClipboardHoldsImage() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

class Capturing : public ::testing::Test {
protected:
    void SetUp() override {
        state.sTarget = QStringLiteral("C:\\");
        state.sName = QStringLiteral("scrn");
        state.sNumber = QStringLiteral("000");
        state.sFileName.clear();
        Option1.SetValue(true);
        Text3.SetText(state.sNumber);
        Text3.OnChange([this] { state.sNumber = Text3.Text(); });
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override {
        QGuiApplication::clipboard()->clear();
        // A fresh reader for the next case: what this one emptied must not count as put back there.
        host::Clipboard::Close();
    }

    testing_support::TempHome home;
    QWidget form;
    host::OptionButton Option1{&form, "Option1", "JPG", 840, 1440, 615, 255, 2};
    host::OptionButton Option2{&form, "Option2", "BMP", 1560, 1440, 735, 255, 3};
    host::OptionButton Option3{&form, "Option3", "PNG", 2400, 1440, 735, 255, 12};
    host::TextBox Text3{&form, "Text3", 1680, 960, 735, 315, 10};
    host::PictureBox Picture1{&form, "Picture1", 120, 1920, 3255, 3135, 9};
    host::ProgramState state;
    CaptureCycle cycle{{Option1, Option3, Text3, Picture1}, state};
};

TEST_F(Capturing, AGrabLargerThan4KIsWrittenWhileEventsGoOnAndNothingFollowsBeforeItIsWhole) {
    QGuiApplication::clipboard()->setImage(Grab(4000, 2200, qRgb(30, 60, 90)));
    bool ranMeanwhile = false, secondCapture = true, clipboardKept = false;
    QString numberMeanwhile;
    // Posted before the capture: it runs as soon as the capture lets events through.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            ranMeanwhile = true;
            numberMeanwhile = Text3.Text();
            clipboardKept = ClipboardHoldsImage();
            secondCapture = cycle.Run();
        },
        Qt::QueuedConnection);
    EXPECT_TRUE(cycle.Run());
    EXPECT_TRUE(ranMeanwhile);
    EXPECT_FALSE(secondCapture);
    EXPECT_EQ(numberMeanwhile, QStringLiteral("000"));
    EXPECT_TRUE(clipboardKept);
    EXPECT_EQ(QImage((home / "scrn000.jpg").c_str()).size(), QSize(4000, 2200));
    EXPECT_EQ(state.sNumber, QStringLiteral("001"));
    EXPECT_FALSE(ClipboardHoldsImage());
}

TEST_F(Capturing, ALargeGrabsFailedWriteIsRaisedToTheTickAndKeepsTheGrab) {
    Option3.SetValue(true);
    state.sTarget = QStringLiteral("C:\\not yet");
    QGuiApplication::clipboard()->setImage(Grab(4000, 2200, qRgb(30, 60, 90)));
    EXPECT_THROW(cycle.Run(), host::HostError);
    EXPECT_EQ(state.sNumber, QStringLiteral("000"));
    EXPECT_TRUE(ClipboardHoldsImage());
}

TEST_F(Capturing, NoBitmapChangesNothing) {
    cycle.Run();  // empty clipboard
    QGuiApplication::clipboard()->setText(QStringLiteral("just text"));
    cycle.Run();
    EXPECT_EQ(cycle.picClip().Handle(), 0u);
    EXPECT_EQ(state.sNumber, QStringLiteral("000"));
    EXPECT_EQ(Text3.Text(), QStringLiteral("000"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("just text"));
    EXPECT_FALSE(FileExists(home / "scrn000.jpg"));
}

TEST_F(Capturing, GrabBecomesTheNumberedJpegInTheHomeFolder) {
    QGuiApplication::clipboard()->setImage(Grab(64, 48, qRgb(200, 30, 90)));
    cycle.Run();
    EXPECT_EQ(state.sFileName, QStringLiteral("scrn000.jpg"));
    const QImage saved((home / "scrn000.jpg").c_str());
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(64, 48));
    EXPECT_EQ(state.sNumber, QStringLiteral("001"));
    EXPECT_EQ(Text3.Text(), QStringLiteral("001"));
    EXPECT_FALSE(ClipboardHoldsImage());
    EXPECT_EQ(cycle.picClip().Width(), 1693);  // 64 px in HIMETRIC
}

TEST_F(Capturing, EmptyPrefixAndBmpGiveTheNumberAlone) {
    state.sName.clear();
    state.sNumber = QStringLiteral("007");
    Option2.SetValue(true);
    const QImage grab = Grab(33, 17, qRgb(10, 240, 70));
    QGuiApplication::clipboard()->setImage(grab);
    cycle.Run();
    EXPECT_EQ(state.sFileName, QStringLiteral("007.bmp"));
    const QImage saved((home / "007.bmp").c_str());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), grab);
    EXPECT_EQ(state.sNumber, QStringLiteral("008"));
}

TEST_F(Capturing, PngKeepsEveryPixel) {
    Option3.SetValue(true);
    QImage grab = Grab(37, 21, qRgb(250, 128, 3));
    for (int x = 0; x < grab.width(); ++x) grab.setPixel(x, 20 - x % 21, qRgb(x * 6, 255 - x, x % 2 * 200));
    QGuiApplication::clipboard()->setImage(grab);
    cycle.Run();
    EXPECT_EQ(state.sFileName, QStringLiteral("scrn000.png"));
    const QImage saved = QImage((home / "scrn000.png").c_str()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), grab.size());
    for (int y = 0; y < grab.height(); ++y)
        for (int x = 0; x < grab.width(); ++x)
            ASSERT_EQ(saved.pixel(x, y), grab.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(state.sNumber, QStringLiteral("001"));
    EXPECT_FALSE(ClipboardHoldsImage());
}

TEST_F(Capturing, AFailedPngSaveKeepsTheGrabAndTheNumber) {
    Option3.SetValue(true);
    state.sTarget = QStringLiteral("C:\\not yet");
    QGuiApplication::clipboard()->setImage(Grab(20, 20, qRgb(1, 1, 1)));
    try {
        cycle.Run();
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), 26002);
        EXPECT_EQ(e.Description(), QStringLiteral("Failed to save to PNG -23"));
    }
    EXPECT_EQ(state.sNumber, QStringLiteral("000"));
    EXPECT_TRUE(ClipboardHoldsImage());
}

TEST_F(Capturing, FailedSaveKeepsTheGrabAndTheNumber) {
    state.sTarget = QStringLiteral("C:\\not yet");
    QGuiApplication::clipboard()->setImage(Grab(20, 20, qRgb(1, 1, 1)));
    try {
        cycle.Run();
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), 26001);
        EXPECT_TRUE(e.Description().startsWith(QStringLiteral("Failed to save to JPG ")));
    }
    EXPECT_EQ(state.sFileName, QStringLiteral("scrn000.jpg"));
    EXPECT_EQ(state.sNumber, QStringLiteral("000"));
    EXPECT_TRUE(ClipboardHoldsImage());

    home.MakeFolder("not yet");  // the next tick succeeds with the same grab
    cycle.Run();
    EXPECT_TRUE(FileExists(home / "not yet/scrn000.jpg"));
    EXPECT_EQ(state.sNumber, QStringLiteral("001"));
}

TEST_F(Capturing, NumberThatCannotAdvanceStopsTheTickBeforeAnyFileIsWritten) {
    QGuiApplication::clipboard()->setImage(Grab(20, 20, qRgb(1, 1, 1)));
    for (const char* number : {"1a9", "12"}) {
        state.sNumber = QString::fromLatin1(number);
        try {
            cycle.Run();
            FAIL() << "no error for " << number;
        } catch (const host::HostError& e) {
            EXPECT_EQ(e.Number(), host::kTypeMismatch);
        }
        EXPECT_EQ(state.sNumber, QString::fromLatin1(number));
        EXPECT_TRUE(ClipboardHoldsImage());
    }
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));

    state.sNumber = QStringLiteral("019");  // once the number is mended, the grab is saved once
    cycle.Run();
    EXPECT_TRUE(FileExists(home / "scrn019.jpg"));
    EXPECT_EQ(state.sNumber, QStringLiteral("020"));
}

TEST_F(Capturing, OnlyTheLastOfTwoGrabsBetweenTicksIsSaved) {
    Option2.SetValue(true);
    QGuiApplication::clipboard()->setImage(Grab(10, 10, qRgb(255, 0, 0)));
    const QImage second = Grab(12, 8, qRgb(0, 0, 255));
    QGuiApplication::clipboard()->setImage(second);
    cycle.Run();
    cycle.Run();
    EXPECT_EQ(QImage((home / "scrn000.bmp").c_str()).convertToFormat(QImage::Format_RGB32), second);
    EXPECT_FALSE(FileExists(home / "scrn001.bmp"));
}

}  // namespace
