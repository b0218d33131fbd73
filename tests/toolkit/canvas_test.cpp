#include <gtest/gtest.h>

#include <set>

#include "canvas.h"

namespace reversi {
namespace {

const QColor background(10, 20, 30);
const QColor ink(200, 0, 0);

std::set<std::pair<int, int>> inked(const Canvas& canvas) {
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < canvas.image().height(); ++y) {
        for (int x = 0; x < canvas.image().width(); ++x) {
            if (canvas.pixel(x, y) == ink) pixels.insert({x, y});
        }
    }
    return pixels;
}

Canvas blank() {
    Canvas canvas({120, 120}, background);
    canvas.setPenColour(ink);
    canvas.setBrushColour(ink);
    return canvas;
}

TEST(Canvas, AGrowingDiscEndsOnExactlyThePixelsOfTheDiscDrawnAtOnce) {
    Canvas atOnce = blank();
    atOnce.ellipse(30, 30, 90, 90);
    Canvas grown = blank();
    for (int i = 0; i <= 30; ++i) {
        for (int j = 0; j <= 30; ++j)
            grown.ellipse(60 + i, 60 + j, 60 - i, 60 - j);
    }
    const auto disc = inked(atOnce);
    EXPECT_EQ(inked(grown), disc);
    // The disc fills its 60 by 60 box: full width through the middle, nothing outside.
    for (const auto& [x, y] : disc) {
        EXPECT_TRUE(x >= 30 && x < 90 && y >= 30 && y < 90);
    }
    EXPECT_TRUE(disc.count({30, 59}) && disc.count({89, 60}) && disc.count({59, 30}) &&
                disc.count({60, 89}));
    EXPECT_FALSE(disc.count({30, 30}));  // round, not square
}

TEST(Canvas, EmptyBoxesPaintNothing) {
    Canvas canvas = blank();
    EXPECT_TRUE(canvas.ellipse(60, 30, 60, 90).isEmpty());
    canvas.ellipse(30, 60, 90, 60);
    EXPECT_TRUE(inked(canvas).empty());
}

TEST(Canvas, TheOutlineTakesThePenAndTheInsideTheBrush) {
    Canvas canvas = blank();
    canvas.setBrushColour(Qt::white);
    canvas.ellipse(10, 10, 20, 20);
    EXPECT_EQ(canvas.pixel(10, 15), ink);
    EXPECT_EQ(canvas.pixel(15, 15), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(9, 15), background);
}

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
    Canvas canvas = blank();
    canvas.moveTo(5, 5);
    canvas.lineTo(5, 50);
    canvas.moveTo(5, 60);
    canvas.lineTo(40, 60);
    EXPECT_EQ(canvas.pixel(5, 5), ink);
    EXPECT_EQ(canvas.pixel(5, 49), ink);
    EXPECT_EQ(canvas.pixel(5, 50), background);
    EXPECT_EQ(canvas.pixel(39, 60), ink);
    EXPECT_EQ(canvas.pixel(40, 60), background);
}

TEST(Canvas, PixelsAreAllocatedOnlyWhenDrawnOrLookedAt) {
    Canvas late({120, 120}, Qt::green);
    late.fill(background);  // a window's set-up: still nothing allocated
    late.setPenColour(ink);
    late.setBrushColour(ink);
    EXPECT_FALSE(late.isAllocated());
    late.ellipse(30, 30, 90, 90);
    EXPECT_TRUE(late.isAllocated());
    Canvas early = blank();
    early.image();  // allocated at once, then drawn
    early.ellipse(30, 30, 90, 90);
    EXPECT_EQ(late.image().convertToFormat(QImage::Format_RGB32),
              early.image().convertToFormat(QImage::Format_RGB32));
}

TEST(Canvas, ShapesPartlyOffTheSurfaceAreClipped) {
    Canvas canvas = blank();
    canvas.ellipse(-30, -30, 30, 30);
    canvas.ellipse(100, 100, 160, 160);
    canvas.moveTo(-5, 3);
    canvas.lineTo(200, 3);
    EXPECT_EQ(canvas.pixel(0, 0), ink);
    EXPECT_EQ(canvas.pixel(119, 119), ink);
}

}  // namespace
}  // namespace reversi
