// Draws the pictures the game carries (theme previews, intro frames, program icon) and writes
// them as PNG files into the folder named on the command line, the icon also at the sizes of the
// desktops' icon theme (16 to 512 pixels, icon-<size>.png) and as SVG (icon.svg). The results
// are committed under resources/images/; run this again only to change them.
//
// The files come out the same, byte for byte, on any machine: the text is drawn from the
// outlines of the font file the game carries, read directly (never a font the system offers or
// makes up), and every curve is drawn without smoothing at four times the size, then averaged
// down with whole numbers, so no result depends on the smoothing code a processor runs.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "resource_names.h"

namespace {

using namespace reversi::resources;

// ---- Drawing -------------------------------------------------------------------------------

// Pictures are drawn at this many times their size in each direction, then averaged down.
constexpr int sampling = 4;

// Draws a picture of `size` at `sampling` times the size without smoothing and averages each
// block of samples into one pixel, rounding to the nearest whole value. With `withAlpha` the
// background may be transparent and the result keeps an alpha channel.
QImage supersampled(QSize size, QColor background, bool withAlpha,
                    const std::function<void(QPainter&)>& draw) {
    QImage large(size * sampling,
                 withAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    large.fill(background);
    {
        QPainter painter(&large);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.scale(sampling, sampling);
        draw(painter);
    }
    constexpr int samples = sampling * sampling;
    QImage image(size, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            int a = 0, r = 0, g = 0, b = 0;  // sums of premultiplied samples
            for (int sy = 0; sy < sampling; ++sy) {
                const auto* line =
                    reinterpret_cast<const QRgb*>(large.constScanLine(y * sampling + sy));
                for (int sx = 0; sx < sampling; ++sx) {
                    const QRgb sample = line[x * sampling + sx];
                    a += qAlpha(sample);
                    r += qRed(sample);
                    g += qGreen(sample);
                    b += qBlue(sample);
                }
            }
            // Back from premultiplied sums to straight colour: c / a of the sums, rounded.
            const auto straight = [a](int c) { return a == 0 ? 0 : (c * 255 + a / 2) / a; };
            image.setPixel(
                x, y,
                withAlpha
                    ? qRgba(straight(r), straight(g), straight(b), (a + samples / 2) / samples)
                    : qRgb((r + samples / 2) / samples, (g + samples / 2) / samples,
                           (b + samples / 2) / samples));
        }
    }
    return image;
}

// The decorative font the game carries, read from its file at one pixel size, unhinted.
class OutlineFont {
  public:
    OutlineFont(const QByteArray& fontFile, double pixelSize)
        : raw_(fontFile, pixelSize, QFont::PreferNoHinting) {}

    bool isValid() const { return raw_.isValid(); }
    double capHeight() const { return raw_.capHeight(); }

    // The outline of `text` with its baseline starting at `origin`, laid out with the font's
    // own advances and kerning.
    QPainterPath path(const QString& text, QPointF origin) const {
        QPainterPath outline;
        outline.setFillRule(Qt::WindingFill);
        QPointF pen = origin;
        const QList<quint32> glyphs = raw_.glyphIndexesForString(text);
        const QList<QPointF> advances = advancesOf(glyphs);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            outline.addPath(raw_.pathForGlyph(glyphs[i]).translated(pen));
            pen += advances[i];
        }
        return outline;
    }
    double width(const QString& text) const {
        double total = 0;
        for (const QPointF& advance : advancesOf(raw_.glyphIndexesForString(text)))
            total += advance.x();
        return total;
    }

  private:
    QList<QPointF> advancesOf(const QList<quint32>& glyphs) const {
        return raw_.advancesForGlyphIndexes(
            glyphs, QRawFont::LayoutFlags(QRawFont::KernedAdvances | QRawFont::UseDesignMetrics));
    }

    QRawFont raw_;
};

// Fills a text outline made heavier by `weight` pixels across each stroke, as a bold face.
void fillHeavy(QPainter& painter, const QPainterPath& outline, QColor colour, double weight) {
    painter.fillPath(outline, colour);
    painter.strokePath(outline, QPen(colour, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

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

const QSize introFrameSize(introFrameWidth, introFrameHeight);

// A bold face's strokes are this much of its pixel size heavier than the regular face's.
constexpr double boldWeight = 1.0 / 24;

// The first `letters` letters of the word, each frame adding one, as if typed. The letters stay
// where they are in the whole word, and a caret waits after the last one typed.
QImage typingFrame(const OutlineFont& font, double pixelSize, int letters) {
    return supersampled(introFrameSize, introGrey, false, [&](QPainter& painter) {
        const QRectF wordBounds = font.path(introWord, {0, 0}).boundingRect();
        const QPointF origin = visibleIntroArea.center() - wordBounds.center();
        const QPainterPath typed = font.path(introWord.left(letters), origin);
        const double weight = pixelSize * boldWeight;

        fillHeavy(painter, typed.translated(6, 6), introShadow, weight);
        // A dark edge two pixels wide along the outline of the heavy letters.
        painter.strokePath(
            typed, QPen(typedRedEdge, weight + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        fillHeavy(painter, typed, typedRed, weight - 2);

        const double capHeight = font.capHeight();
        const double caretX = origin.x() + font.width(introWord.left(letters)) + 10;
        painter.fillRect(QRectF(caretX, origin.y() - capHeight, 9, capHeight + 12), introCaret);
    });
}

// Black, with bands of the word repeated across the whole frame; every other band is shifted
// by half a word so the words form a brick pattern.
QImage bandsFrame(const OutlineFont& font, double pixelSize) {
    return supersampled(introFrameSize, Qt::black, false, [&](QPainter& painter) {
        const QRectF wordBounds = font.path(introWord, {0, 0}).boundingRect();
        const double period = font.width(introWord) + 40;
        constexpr double bandHeight = 62;
        constexpr double bandPitch = 80;

        for (int band = 0; band * bandPitch < introFrameHeight; ++band) {
            const double top = 9 + band * bandPitch;
            painter.fillRect(QRectF(0, top, introFrameWidth, bandHeight), QColor(96, 0, 0));
            const double baseline = top + bandHeight / 2 - wordBounds.center().y();
            QPainterPath words;
            words.setFillRule(Qt::WindingFill);
            for (double x = band % 2 == 0 ? -period / 2 : -period; x < introFrameWidth;
                 x += period) {
                words.addPath(font.path(introWord, {x, baseline}));
            }
            fillHeavy(painter, words, QColor(255, 24, 24), pixelSize * boldWeight);
        }
    });
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
// theme, each with the centre dot the board drawing gives every disc. The design is laid out on
// a grid of iconSize units; the pixel pictures and the scalable one are drawn from it alike.
namespace icon {
const QColor board(236, 233, 216);
const QColor lines(Qt::black);
// Lines two units wide on whole units stay sharp at the smallest size.
constexpr double lineWidth = 2;
const QRectF frame(1, 1, iconSize - 2, iconSize - 2);
constexpr double cornerRadius = 4;
constexpr double middle = iconSize / 2.0;
constexpr double discRadius = 5.8;
constexpr double discEdgeWidth = 1;
constexpr double dotRadius = 1.4;

struct Disc {
    QPointF centre;
    QColor fill;
    QColor edge;
};
const QColor red(255, 0, 0);
const QColor redEdge(128, 0, 0);
const QColor yellow(255, 255, 0);
const QColor yellowEdge(128, 100, 0);
const Disc discs[] = {
    {{8, 8}, red, redEdge},
    {{24, 8}, yellow, yellowEdge},
    {{8, 24}, yellow, yellowEdge},
    {{24, 24}, red, redEdge},
};
}  // namespace icon

// The icon as a picture `pixels` wide and high, drawn `margin` pixels inside each edge.
QImage programIcon(int pixels, int margin = 0) {
    return supersampled({pixels, pixels}, Qt::transparent, true, [=](QPainter& painter) {
        painter.translate(margin, margin);
        painter.scale(double(pixels - 2 * margin) / iconSize,
                      double(pixels - 2 * margin) / iconSize);
        painter.setPen(QPen(icon::lines, icon::lineWidth));
        painter.setBrush(icon::board);
        painter.drawRoundedRect(icon::frame, icon::cornerRadius, icon::cornerRadius);
        painter.drawLine(QPointF(icon::middle, 1), QPointF(icon::middle, iconSize - 1));
        painter.drawLine(QPointF(1, icon::middle), QPointF(iconSize - 1, icon::middle));
        for (const icon::Disc& disc : icon::discs) {
            painter.setPen(QPen(disc.edge, icon::discEdgeWidth));
            painter.setBrush(disc.fill);
            painter.drawEllipse(disc.centre, icon::discRadius, icon::discRadius);
            painter.setPen(Qt::NoPen);
            painter.setBrush(icon::board);
            painter.drawEllipse(disc.centre, icon::dotRadius, icon::dotRadius);
        }
    });
}

// The desktop's icon theme wants a square icon to leave about 3/32 of its size free at each
// edge, as the other application icons do, and at least a pixel.
constexpr int themeIconMargin(int pixels) {
    return std::max(1, pixels * 3 / 32);
}
constexpr int themeIconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

// The icon as SVG text, for any size, inside the icon theme's margin.
QByteArray scalableProgramIcon() {
    const auto colour = [](const QColor& c) { return c.name(); };
    const auto number = [](double value) { return QString::number(value); };
    QString svg =
        QStringLiteral(
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
            "viewBox=\"0 0 %1 %1\">\n"
            "<g transform=\"translate(%2 %2) scale(%3)\">\n")
            .arg(iconSize)
            .arg(themeIconMargin(iconSize))
            .arg(QString::number(double(iconSize - 2 * themeIconMargin(iconSize)) / iconSize));
    svg += QStringLiteral(
               "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\" "
               "stroke=\"%7\" stroke-width=\"%8\"/>\n")
               .arg(number(icon::frame.x()), number(icon::frame.y()), number(icon::frame.width()),
                    number(icon::frame.height()), number(icon::cornerRadius), colour(icon::board),
                    colour(icon::lines), number(icon::lineWidth));
    svg += QStringLiteral("  <path d=\"M%1 1V%2M1 %1H%2\" stroke=\"%3\" stroke-width=\"%4\"/>\n")
               .arg(number(icon::middle), number(iconSize - 1), colour(icon::lines),
                    number(icon::lineWidth));
    for (const icon::Disc& disc : icon::discs) {
        const QString cx = number(disc.centre.x()), cy = number(disc.centre.y());
        svg += QStringLiteral(
                   "  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\" stroke=\"%5\" "
                   "stroke-width=\"%6\"/>\n")
                   .arg(cx, cy, number(icon::discRadius), colour(disc.fill), colour(disc.edge),
                        number(icon::discEdgeWidth));
        svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                   .arg(cx, cy, number(icon::dotRadius), colour(icon::board));
    }
    svg += QStringLiteral("</g>\n</svg>\n");
    return svg.toUtf8();
}

// ---- Writing ---------------------------------------------------------------------------------

// The picture with one byte a pixel naming a colour of its own table, when it has at most 256
// colours: the same pixels as full colour, in a quarter of the memory once the game has read the
// file. The table lists the colours in the order they first appear, row by row, so the file
// comes out the same on every run. A null image when the picture has more colours.
QImage withExactPalette(const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    QList<QRgb> table;
    QHash<QRgb, uchar> indexOf;
    for (int y = 0; y < source.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* indexes = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            auto found = indexOf.constFind(pixels[x]);
            if (found == indexOf.cend()) {
                if (table.size() == 256) return {};
                found = indexOf.insert(pixels[x], static_cast<uchar>(table.size()));
                table.append(pixels[x]);
            }
            indexes[x] = *found;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

// Says which file was written, or that it could not be; returns whether it was.
bool report(bool written, const QString& path) {
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool writePng(const QDir& folder, const QString& fileName, QImage image) {
    const QString path = folder.filePath(fileName);
    // A fixed resolution: left unset, it would come from the screen the program runs on.
    constexpr int dotsPerMetre = 3780;  // 96 dots per inch
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return report(image.save(path, "PNG"), path);
}

bool writeFile(const QDir& folder, const QString& fileName, const QByteArray& bytes) {
    const QString path = folder.filePath(fileName);
    QFile file(path);
    return report(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      file.write(bytes) == bytes.size() && file.flush(),
                  path);
}

QByteArray readDecorativeFont() {
    QFile file(QStringLiteral(REVERSI_DECORATIVE_FONT_FILE));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    const QByteArray fontFile = readDecorativeFont();
    constexpr double typingPixels = 150;
    constexpr double bandPixels = 46;
    const OutlineFont typingFont(fontFile, typingPixels);
    const OutlineFont bandFont(fontFile, bandPixels);
    if (!typingFont.isValid() || !bandFont.isValid()) {
        std::fprintf(stderr, "cannot load the font %s\n", REVERSI_DECORATIVE_FONT_FILE);
        return 1;
    }

    const PreviewColours previews[] = {
        {Qt::black, QColor(236, 233, 216), Qt::yellow, Qt::red},
        {Qt::red, Qt::blue, Qt::white, Qt::black},
        {Qt::black, Qt::magenta, Qt::green, Qt::yellow},
    };
    const QImage bands = bandsFrame(bandFont, bandPixels);

    bool written = true;
    // The previews and intro frames with a table of their colours, which each fits.
    const auto write = [&](int number, const QImage& image) {
        const QString fileName = QString::fromLatin1(ResourceName::image(number)) + ".png";
        const QImage indexed = withExactPalette(image);
        if (indexed.isNull()) {
            std::fprintf(stderr, "%s has more than 256 colours\n", qPrintable(fileName));
            written = false;
            return;
        }
        written = writePng(folder, fileName, indexed) && written;
    };
    for (int theme = ResourceName::firstPreview; theme <= ResourceName::lastPreview; ++theme) {
        write(theme, themePreview(previews[theme - 1]));
    }
    write(ResourceName::firstIntroFrame, blankIntroFrame(introGrey));
    for (int letters = 1; letters <= introWord.size(); ++letters) {
        write(ResourceName::firstIntroFrame + letters,
              typingFrame(typingFont, typingPixels, letters));
    }
    write(ResourceName::lastIntroFrame - 2, bands);
    write(ResourceName::lastIntroFrame - 1, fadedFrame(bands, 0.35));
    write(ResourceName::lastIntroFrame, blankIntroFrame(Qt::black));
    // The program's own window icon, edge to edge, and the icons of the desktop's icon theme.
    written = writePng(folder, QStringLiteral("reversi.png"), programIcon(iconSize)) && written;
    for (const int pixels : themeIconSizes) {
        written = writePng(folder, QStringLiteral("icon-%1.png").arg(pixels),
                           programIcon(pixels, themeIconMargin(pixels))) &&
                  written;
    }
    written = writeFile(folder, QStringLiteral("icon.svg"), scalableProgramIcon()) && written;
    return written ? 0 : 1;
}
