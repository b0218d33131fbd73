// Draws the pictures the game carries (theme previews, intro frames, program icon) and writes
// them as PNG files into the folder named on the command line. The results are committed
// under resources/images/; run this again only to change them.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

#include "resource_names.h"

namespace {

using namespace reversi::resources;

// ---- Theme previews ----------------------------------------------------------------------

struct PreviewColours {
    QColor frame;  // the theme's grid colour
    QColor field;  // the theme's background colour
    QColor left;
    QColor right;
};

// The disc fills the box from pixel 10 to pixel 69 in both directions: 60 pixels across, its
// centre on the line between pixels 39 and 40, so both halves are exactly 30 pixels wide.
constexpr int discFirstPixel = 10;
constexpr int discDiameter = 60;

// Plain pixels, no smoothing: a pixel belongs to the disc when its centre lies inside the
// circle, which keeps the disc symmetric about both middle lines.
QImage themePreview(const PreviewColours& colours) {
    QImage image(previewSize, previewSize, QImage::Format_RGB888);
    const double centre = discFirstPixel + discDiameter / 2.0;
    const double radius = discDiameter / 2.0;
    const int last = previewSize - 1;
    for (int y = 0; y < previewSize; ++y) {
        for (int x = 0; x < previewSize; ++x) {
            QColor colour = colours.field;
            const double dx = x + 0.5 - centre;
            const double dy = y + 0.5 - centre;
            if (x == 0 || y == 0 || x == last || y == last) {
                colour = colours.frame;
            } else if (dx * dx + dy * dy <= radius * radius) {
                colour = dx < 0 ? colours.left : colours.right;
            }
            image.setPixelColor(x, y, colour);
        }
    }
    return image;
}

// ---- Intro frames ------------------------------------------------------------------------

const QColor introGrey(224, 224, 224);
const QColor introShadow(192, 192, 192);
const QColor introCaret(72, 72, 72);
const QColor typedRed(230, 0, 0);
const QColor typedRedEdge(150, 0, 0);
const QString introWord = QStringLiteral("Reversi");

// The menu shows each frame from its top-left corner cut to 745 by 569 pixels, so the typed
// word is centred in that part rather than in the whole frame.
const QRectF visibleIntroArea(0, 0, 745, 569);

QImage blankIntroFrame(const QColor& colour) {
    QImage image(introFrameWidth, introFrameHeight, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

QFont fontOfPixelSize(const QString& family, int pixelSize, QFont::Weight weight) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The first `letters` letters of the word, each frame adding one, as if typed. The letters stay
// where they are in the whole word, and a caret waits after the last one typed.
QImage typingFrame(const QFont& font, int letters) {
    QImage image = blankIntroFrame(introGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QFontMetricsF metrics(font);
    const QRectF wordBounds = metrics.tightBoundingRect(introWord);
    const QPointF origin = visibleIntroArea.center() - wordBounds.center();

    QPainterPath typed;
    typed.addText(origin, font, introWord.left(letters));
    painter.fillPath(typed.translated(6, 6), introShadow);
    painter.setPen(QPen(typedRedEdge, 2));
    painter.setBrush(typedRed);
    painter.drawPath(typed);

    const double capHeight = metrics.capHeight();
    const double caretX = origin.x() + metrics.horizontalAdvance(introWord.left(letters)) + 10;
    painter.fillRect(QRectF(caretX, origin.y() - capHeight, 9, capHeight + 12), introCaret);
    return image;
}

// Black, with bands of the word repeated across the whole frame; every other band is shifted
// by half a word so the words form a brick pattern.
QImage bandsFrame(const QString& family) {
    QImage image = blankIntroFrame(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QFont font = fontOfPixelSize(family, 46, QFont::Bold);
    const QFontMetricsF metrics(font);
    const QRectF wordBounds = metrics.tightBoundingRect(introWord);
    const double period = metrics.horizontalAdvance(introWord) + 40;
    constexpr double bandHeight = 62;
    constexpr double bandPitch = 80;

    for (int band = 0; band * bandPitch < introFrameHeight; ++band) {
        const double top = 9 + band * bandPitch;
        painter.fillRect(QRectF(0, top, introFrameWidth, bandHeight), QColor(96, 0, 0));
        const double baseline = top + bandHeight / 2 - wordBounds.center().y();
        QPainterPath words;
        for (double x = band % 2 == 0 ? -period / 2 : -period; x < introFrameWidth; x += period) {
            words.addText(QPointF(x, baseline), font, introWord);
        }
        painter.fillPath(words, QColor(255, 24, 24));
    }
    return image;
}

// The same picture darkened towards black, the step between the bands and the black frame.
QImage fadedFrame(const QImage& source, double remaining) {
    QImage image = source.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            image.setPixelColor(
                x, y,
                QColor(qRound(colour.red() * remaining), qRound(colour.green() * remaining),
                       qRound(colour.blue() * remaining)));
        }
    }
    return image;
}

// ---- Program icon --------------------------------------------------------------------------

// Four discs of the opening position on a corner of the board, in the colours of the first
// theme, each with the centre dot the board drawing gives every disc.
QImage programIcon() {
    const QColor board(236, 233, 216);
    QImage image(iconSize, iconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // Lines two pixels wide on whole pixels stay sharp at this size.
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(board);
    painter.drawRoundedRect(QRectF(1, 1, iconSize - 2, iconSize - 2), 4, 4);
    painter.drawLine(QPointF(16, 1), QPointF(16, 31));
    painter.drawLine(QPointF(1, 16), QPointF(31, 16));

    struct Disc {
        QPointF centre;
        QColor fill;
        QColor edge;
    };
    const QColor red(255, 0, 0);
    const QColor yellow(255, 255, 0);
    const Disc discs[] = {
        {{8, 8}, red, QColor(128, 0, 0)},
        {{24, 8}, yellow, QColor(128, 100, 0)},
        {{8, 24}, yellow, QColor(128, 100, 0)},
        {{24, 24}, red, QColor(128, 0, 0)},
    };
    for (const Disc& disc : discs) {
        painter.setPen(QPen(disc.edge, 1));
        painter.setBrush(disc.fill);
        painter.drawEllipse(disc.centre, 5.8, 5.8);
        painter.setPen(Qt::NoPen);
        painter.setBrush(board);
        painter.drawEllipse(disc.centre, 1.4, 1.4);
    }
    return image;
}

// ---- Writing ---------------------------------------------------------------------------------

bool writePng(const QDir& folder, const QString& fileName, const QImage& image) {
    const QString path = folder.filePath(fileName);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

std::optional<QString> loadDecorativeFamily() {
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(REVERSI_DECORATIVE_FONT_FILE));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) return std::nullopt;
    return families.first();
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs no display; an explicit choice from the caller still wins.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: reversi-make-images OUTDIR\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const std::optional<QString> family = loadDecorativeFamily();
    if (!family) {
        std::fprintf(stderr, "cannot load the font %s\n", REVERSI_DECORATIVE_FONT_FILE);
        return 1;
    }

    const PreviewColours previews[] = {
        {Qt::black, QColor(236, 233, 216), Qt::yellow, Qt::red},
        {Qt::red, Qt::blue, Qt::white, Qt::black},
        {Qt::black, Qt::magenta, Qt::green, Qt::yellow},
    };
    const QFont typingFont = fontOfPixelSize(*family, 150, QFont::Bold);
    const QImage bands = bandsFrame(*family);

    bool written = true;
    const auto write = [&](int number, const QImage& image) {
        const QString fileName = QString::fromLatin1(ResourceName::image(number)) + ".png";
        written =
            writePng(folder, fileName, image.convertToFormat(QImage::Format_RGB888)) && written;
    };
    for (int theme = ResourceName::firstPreview; theme <= ResourceName::lastPreview; ++theme) {
        write(theme, themePreview(previews[theme - 1]));
    }
    write(ResourceName::firstIntroFrame, blankIntroFrame(introGrey));
    for (int letters = 1; letters <= introWord.size(); ++letters) {
        write(ResourceName::firstIntroFrame + letters, typingFrame(typingFont, letters));
    }
    write(ResourceName::lastIntroFrame - 2, bands);
    write(ResourceName::lastIntroFrame - 1, fadedFrame(bands, 0.35));
    write(ResourceName::lastIntroFrame, blankIntroFrame(Qt::black));
    written = writePng(folder, QStringLiteral("reversi.png"), programIcon()) && written;
    return written ? 0 : 1;
}
