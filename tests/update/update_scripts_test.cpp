#include <gtest/gtest.h>

#include <QStringList>

#include "update_scripts.h"
#include "update_test_support.h"
#include "update_version.h"

namespace reversi {
namespace {

TEST(UpdateScriptsTest, VersionCheckScript) {
    EXPECT_EQ(versionCheckScript(testChannel).toStdString(),
              "#!/bin/sh\n"
              "./downloader.exe 'https://raw.reversi-updates.invalid/reversi/master/version.txt'\n"
              "rm -f '.wget-hsts'\n"
              "rm -f 'downloader.exe'\n"
              "rm -f '.exe'\n"
              "rm -f 'check.bat'\n");
}

TEST(UpdateScriptsTest, UpdaterScriptHasTheDownloaderReplaceTheExecutable) {
    EXPECT_EQ(updaterScript(testChannel, QStringLiteral("6"), {QStringLiteral("game"), {2049, 77}})
                  .toStdString(),
              "#!/bin/sh\n"
              "rm -f '6.exe'\n"
              "./downloader.exe --replace 'game' --identity 2049:77 "
              "'https://reversi-updates.invalid/reversi/raw/"
              "0123456789abcdef0123456789abcdef01234567/6.exe'\n"
              "rm -f 'version.txt'\n"
              "rm -f '.wget-hsts'\n"
              "rm -f 'downloader.exe'\n"
              "rm -f '6.exe'\n"
              "rm -f 'updater.bat'\n");
    // Blanks, quotes, $ and ; reach the downloader unchanged; a leading dash is an option's value.
    const QString awkward = updaterScript(testChannel, QStringLiteral("12"),
                                          {QStringLiteral("-my 'game' $HOME; x"), {1, 2}})
                                .split('\n')
                                .at(2);
    EXPECT_TRUE(awkward.startsWith("./downloader.exe --replace '-my '\\''game'\\'' $HOME; x' "))
        << awkward.toStdString();
}

TEST(VersionNumberTest, ReadsOneWholeNumber) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"  7\n", 7},
        {"", 0},
        {" \t\r\n ", 0},
        {"+6", 6},
        {"-3", -3},
        {"\t\t6\r\n", 6},
        {"6 and more words", 6},
        {"00000000000000000000000000000009", 9},    // 32 characters
        {"000000000000000000000000000000009", {}},  // 33 characters
        {"abc", {}},
        {"6a", {}},
        {"+", {}},
        {"+-6", {}},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"99999999999999999999", {}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseVersionNumber(text), expected) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace reversi
