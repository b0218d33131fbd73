#include "program_fonts.h"

#include <QFontDatabase>

#include "files.h"
#include "resource_names.h"
#include "resources.h"

namespace reversi {

using namespace resources;

ProgramFonts::Installed ProgramFonts::install(const char* type, const char* name,
                                              const char* file) {
    Installed font;
    const QString fileName = QString::fromLatin1(file);
    const QByteArray bytes = resourceBytes(type, name);
    if (isOthersFile(fileName, bytes.size(),
                     [&bytes](const QByteArray& content) { return content == bytes; })) {
        // Somebody else's file of that name stays; the font comes from memory instead.
        reportLeftAlone(fileName);
        font.id = QFontDatabase::addApplicationFontFromData(bytes);
    } else {
        font.file = writeFile(fileName, bytes);
        font.id = QFontDatabase::addApplicationFont(fileName);
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(font.id);
    if (!families.isEmpty()) font.family = families.first();
    return font;
}

void ProgramFonts::installDecorative() {
    decorative_ =
        install(ResourceType::decorativeFont, ResourceName::decorativeFont, decorativeFile);
}

void ProgramFonts::installCode() {
    code_ = install(ResourceType::sourceCodeFont, ResourceName::sourceCodeFont, codeFile);
}

void ProgramFonts::remove(Installed& font, const char* file) {
    if (font.id >= 0) QFontDatabase::removeApplicationFont(font.id);
    if (font.file) removeFileIfSame(QString::fromLatin1(file), *font.file);
    font = {};
}

void ProgramFonts::remove() {
    remove(decorative_, decorativeFile);
    remove(code_, codeFile);
}

QString ProgramFonts::decorativeFamily() const {
    return decorative_.family.isEmpty() ? QFont().family() : decorative_.family;
}

QString ProgramFonts::codeFamily() const {
    return code_.family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family()
                                  : code_.family;
}

QFont ProgramFonts::font(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace reversi
