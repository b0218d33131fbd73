#include <gtest/gtest.h>

#include <QFile>

// This program links only the resource library: the downloader must come along with it.
TEST(EmbeddedDownloaderTest, ResourceHoldsTheBuiltDownloader) {
    QFile embedded(QStringLiteral(":/wget/Downloader"));
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
    QFile built(QStringLiteral(REVERSI_DOWNLOADER_PATH));
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    const QByteArray bytes = embedded.readAll();
    EXPECT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes == built.readAll());
}
