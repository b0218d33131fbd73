// The board on a screen with two device pixels to a logical one.
#include <gtest/gtest.h>

#include <set>

#include "match_test_support.h"

namespace reversi {
namespace {

// Set before the application object exists, which the test program's main makes.
const bool twoDevicePixelsToOne = qputenv("QT_SCALE_FACTOR", "2");

using HighDpi = test_support::MatchTest;

TEST_F(HighDpi, TheBoardIsDrawnAtTheScreensResolution) {
    ASSERT_TRUE(twoDevicePixelsToOne);
    MatchWindow& w = window(1);
    w.show();
    ASSERT_EQ(w.devicePixelRatioF(), 2.0);
    start(w);
    const Canvas& canvas = w.canvas();
    const QColor grid = colourOf(w.theme().gridColour);
    const QColor background = colourOf(w.theme().backgroundColour);
    const QColor first = colourOf(w.theme().firstColour);

    // The grid line at logical x = 50: two device pixels wide, where a ratio of 1 puts it.
    for (const auto& [x, colour] :
         {std::pair{99, background}, {100, grid}, {101, grid}, {102, background}}) {
        EXPECT_EQ(canvas.devicePixel(x, 400), colour) << x;
    }

    // The first side's disc at (3, 3) fills its box (logical 300 to 359) as at a ratio of 1, but
    // its rim steps by single device pixels, which a picture drawn at 1 and doubled never does.
    EXPECT_EQ(canvas.devicePixel(600, 660), first);
    EXPECT_EQ(canvas.devicePixel(719, 660), first);
    EXPECT_EQ(canvas.devicePixel(599, 660), background);
    EXPECT_EQ(canvas.devicePixel(720, 660), background);
    std::set<int> rimSteps;
    int previousLeft = -1;
    for (int y = 600; y < 660; ++y) {
        int left = 600;
        while (left < 660 && canvas.devicePixel(left, y) != first)
            ++left;
        if (previousLeft >= 0 && left != previousLeft) rimSteps.insert(previousLeft - left);
        previousLeft = left;
    }
    EXPECT_TRUE(rimSteps.count(1)) << "no single-pixel step in the rim";

    // The window shows the canvas's device pixels, not a doubled picture.
    const QImage screen = w.grab().toImage();
    ASSERT_EQ(screen.size(), canvas.image().size());
    for (int y = 600; y < 630; ++y) {
        for (int x = 600; x < 640; ++x)
            ASSERT_EQ(screen.pixelColor(x, y), canvas.devicePixel(x, y)) << x << "," << y;
    }
}

}  // namespace
}  // namespace reversi
