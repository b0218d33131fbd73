#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <functional>

#include "resource_names.h"
#include "resource_test_support.h"

namespace reversi::resources {
namespace {

QImage image(int number) {
    return QImage(resourcePath(ResourceType::rawData, ResourceName::image(number)));
}

int countPixels(const QImage& picture, const std::function<bool(QColor)>& test) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            count += test(picture.pixelColor(x, y));
    }
    return count;
}

bool isRed(QColor c) {
    return c.red() >= 200 && c.green() <= 40 && c.blue() <= 40;
}

// One byte a pixel (a table of the picture's colours, or shades of grey): a quarter of the
// memory of full colour once decoded.
TEST(Images, EveryImageIsAPngOfItsSizeDecodedToOneBytePerPixel) {
    for (int number = 1; number <= ResourceName::lastIntroFrame; ++number) {
        SCOPED_TRACE(number);
        const QByteArray png = resourceBytes(ResourceType::rawData, ResourceName::image(number));
        ASSERT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
        const QImage picture = image(number);
        EXPECT_EQ(picture.size(), number <= ResourceName::lastPreview
                                      ? QSize(previewSize, previewSize)
                                      : QSize(introFrameWidth, introFrameHeight));
        EXPECT_EQ(picture.depth(), 8);
    }
}

TEST(Previews, ThemeColoursInPlainPixelsAroundASymmetricDiscSixtyPixelsAcross) {
    struct Colours {
        QColor frame, field, left, right;
    };
    const Colours themes[] = {
        {Qt::black, QColor(236, 233, 216), QColor(255, 255, 0), QColor(255, 0, 0)},
        {QColor(255, 0, 0), QColor(0, 0, 255), QColor(255, 255, 255), Qt::black},
        {Qt::black, QColor(255, 0, 255), QColor(0, 255, 0), QColor(255, 255, 0)},
    };
    for (int theme = 1; theme <= 3; ++theme) {
        SCOPED_TRACE(theme);
        const QImage picture = image(theme);
        const Colours& colours = themes[theme - 1];
        const auto at = [&](int x, int y) { return picture.pixelColor(x, y); };
        const auto inDisc = [&](int x, int y) {
            return x > 0 && y > 0 && x < 80 && y < 80 &&
                   (at(x, y) == colours.left || at(x, y) == colours.right);
        };
        QRect disc;
        for (int y = 0; y < previewSize; ++y) {
            for (int x = 0; x < previewSize; ++x) {
                const bool edge = x == 0 || y == 0 || x == 80 || y == 80;
                if (edge || !inDisc(x, y)) {
                    ASSERT_EQ(at(x, y), edge ? colours.frame : colours.field) << x << "," << y;
                    continue;
                }
                disc |= QRect(x, y, 1, 1);
                ASSERT_EQ(at(x, y), x < 40 ? colours.left : colours.right) << x << "," << y;
                ASSERT_TRUE(inDisc(79 - x, y) && inDisc(x, 79 - y)) << x << "," << y;
            }
        }
        EXPECT_EQ(disc, QRect(10, 10, 60, 60));
        // No centre dot: the two halves meet in the middle.
        EXPECT_TRUE(at(39, 39) == colours.left && at(40, 40) == colours.right);
    }
}

TEST(IntroFrames, OpenLightGreyAndCloseBlack) {
    const QColor grey = image(ResourceName::firstIntroFrame).pixelColor(0, 0);
    EXPECT_TRUE(grey.red() == grey.green() && grey.green() == grey.blue() && grey.red() >= 192 &&
                grey.red() < 255)
        << grey.name().toStdString();
    const auto notGrey = [&](QColor c) { return c != grey; };
    EXPECT_EQ(countPixels(image(ResourceName::firstIntroFrame), notGrey), 0);
    const auto notBlack = [](QColor c) { return c != Qt::black; };
    EXPECT_EQ(countPixels(image(ResourceName::lastIntroFrame), notBlack), 0);
}

TEST(IntroFrames, WordIsTypedInRedOneLetterPerFrameWithinTheShownPart) {
    QImage previous = image(ResourceName::firstIntroFrame);
    for (int number = 5; number <= 11; ++number) {
        SCOPED_TRACE(number);
        const QImage frame = image(number);
        EXPECT_GT(countPixels(frame, isRed), countPixels(previous, isRed));
        // The menu shows only the top-left 745 by 569 pixels of a frame.
        EXPECT_EQ(countPixels(frame.copy(0, 0, 745, 569), isRed), countPixels(frame, isRed));
        int moved = 0;  // letters already typed stay where they were
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                moved += isRed(previous.pixelColor(x, y)) && !isRed(frame.pixelColor(x, y));
            }
        }
        EXPECT_EQ(moved, 0);
        previous = frame;
    }
}

TEST(IntroFrames, BandsAreRedOnBlackAndTheNextFrameDarkensThem) {
    const QImage bands = image(12);
    const QImage faded = image(13);
    EXPECT_GT(countPixels(bands, isRed), 10000);
    EXPECT_GT(countPixels(bands, [](QColor c) { return c == Qt::black; }), 10000);
    EXPECT_EQ(
        countPixels(bands, [](QColor c) { return c.green() > c.red() || c.blue() > c.red(); }), 0);
    int brightestFaded = 0;
    for (int y = 0; y < bands.height(); ++y) {
        for (int x = 0; x < bands.width(); ++x) {
            const QColor before = bands.pixelColor(x, y);
            const QColor after = faded.pixelColor(x, y);
            ASSERT_TRUE(after.red() <= before.red() && after.green() <= before.green() &&
                        after.blue() <= before.blue())
                << x << "," << y;
            brightestFaded = std::max(brightestFaded, after.red());
        }
    }
    EXPECT_TRUE(brightestFaded > 40 && brightestFaded < 160) << brightestFaded;
}

TEST(Icon, IsA32By32PictureWithTransparentCorners) {
    const QImage icon(resourcePath(ResourceType::icon, ResourceName::mainIcon));
    ASSERT_EQ(icon.size(), QSize(iconSize, iconSize));
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(icon.pixelColor(16, 16).alpha(), 255);
}

}  // namespace
}  // namespace reversi::resources
