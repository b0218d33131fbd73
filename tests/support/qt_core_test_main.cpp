#include <gtest/gtest.h>

#include <QCoreApplication>

// QProcess and the update code need an application object.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
