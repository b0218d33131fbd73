#include <gtest/gtest.h>

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QRawFont>
#include <QStringList>

#include <string_view>

#include "resource_names.h"
#include "resource_test_support.h"

namespace reversi::resources {
namespace {

// The Ukrainian alphabet in both cases, with the apostrophe in its three usual forms.
constexpr std::u16string_view ukrainian =
    u"АБВГҐДЕЄЖЗИІЇЙКЛМНОПРСТУФХЦЧШЩЬЮЯабвгґдеєжзиіїйклмнопрстуфхцчшщьюя'’ʼ";

// Registers the font carried under type/name the way the menu does and returns the family
// the font reports, and checks that every printable ASCII character has a glyph.
QString registerAndCheckAscii(const char* type, const char* name, QRawFont& raw) {
    const QByteArray bytes = resourceBytes(type, name);
    EXPECT_FALSE(bytes.isEmpty());
    const int id = QFontDatabase::addApplicationFontFromData(bytes);
    EXPECT_GE(id, 0);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    raw.loadFromData(bytes, 20, QFont::PreferDefaultHinting);
    EXPECT_TRUE(raw.isValid());
    for (char16_t c = 0x20; c < 0x7f; ++c)
        EXPECT_TRUE(raw.supportsCharacter(QChar(c))) << int(c);
    return families.value(0);
}

TEST(Fonts, DecorativeFontCoversTheUkrainianAlphabetAndAscii) {
    QRawFont raw;
    const QString family =
        registerAndCheckAscii(ResourceType::decorativeFont, ResourceName::decorativeFont, raw);
    EXPECT_EQ(family, QStringLiteral("Comfortaa"));
    EXPECT_EQ(raw.familyName(), family);
    for (const char16_t letter : ukrainian) {
        EXPECT_TRUE(raw.supportsCharacter(QChar(letter))) << QString(QChar(letter)).toStdString();
    }
}

TEST(Fonts, SourceCodeProIsTheBoldFace) {
    QRawFont raw;
    const QString family =
        registerAndCheckAscii(ResourceType::sourceCodeFont, ResourceName::sourceCodeFont, raw);
    EXPECT_EQ(family, QString::fromLatin1(ResourceName::sourceCodeFamily));
    EXPECT_EQ(raw.weight(), QFont::Bold);
    EXPECT_EQ(raw.styleName(), QStringLiteral("Bold"));
}

// The program finds a resource by listing its type's folder and comparing names ignoring case,
// so each folder must hold exactly the bare names, and linking the library must bring them.
TEST(ResourceLayout, EachTypeHoldsExactlyItsNames) {
    QStringList images;
    for (const char* name : ResourceName::images)
        images << QLatin1String(name);
    const auto listing = [](const char* type) {
        QStringList names = QDir(QStringLiteral(":/%1").arg(QLatin1String(type))).entryList();
        names.sort();
        return names;
    };
    images.sort();
    EXPECT_EQ(listing(ResourceType::rawData), images);
    EXPECT_EQ(listing(ResourceType::decorativeFont), QStringList{ResourceName::decorativeFont});
    EXPECT_EQ(listing(ResourceType::sourceCodeFont), QStringList{ResourceName::sourceCodeFont});
    EXPECT_EQ(listing(ResourceType::icon), QStringList{ResourceName::mainIcon});
}

}  // namespace
}  // namespace reversi::resources
