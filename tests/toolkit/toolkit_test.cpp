#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include "accessibility.h"
#include "error_display.h"
#include "file_error.h"
#include "files.h"
#include "resources.h"
#include "widget_test_support.h"
#include "widgets.h"

namespace reversi {
namespace {

using Toolkit = test_support::WidgetTest;

TEST_F(Toolkit, ResourcesAreFoundIgnoringTheCaseOfTypeAndName) {
    EXPECT_EQ(findResource("rcdata", "Sample.BIN"), ":/RCDATA/sample.bin");
    EXPECT_EQ(resourceBytes("RcData", "SAMPLE.bin"), QByteArray("sample bytes"));
    EXPECT_TRUE(findResource("rcdata", "other").isEmpty());
    EXPECT_TRUE(findResource("nosuchtype", "sample.bin").isEmpty());
    EXPECT_THROW(resourceBytes("rcdata", "other"), FileError);
    EXPECT_THROW(resourceImage("rcdata", "sample.bin"), FileError);  // not an image
}

TEST_F(Toolkit, SavingAResourceReplacesTheFileOrFailsWithoutLeavingOne) {
    writeFile("copy.bin", "a much longer earlier content");
    saveResource("rcdata", "sample.bin", "copy.bin");
    EXPECT_EQ(readFile("copy.bin"), QByteArray("sample bytes"));
    EXPECT_THROW(saveResource("rcdata", "sample.bin", "no/such/dir/copy.bin"), FileError);
    EXPECT_THROW(saveResource("rcdata", "missing", "other.bin"), FileError);
    EXPECT_FALSE(QFile::exists("other.bin"));
}

TEST_F(Toolkit, FilesAreNeverWrittenThroughALinkNorOpenedWhenSpecial) {
    writeFile("outside", "user text");
    ASSERT_TRUE(QFile::link("outside", "0.db"));
    reversi::writeFile("0.db", "300\r\n");  // the link itself is replaced
    EXPECT_EQ(readFile("outside"), QByteArray("user text"));
    EXPECT_FALSE(QFileInfo("0.db").isSymLink());

    ASSERT_EQ(::mkfifo("5.db", 0600), 0);
    EXPECT_THROW(reversi::writeFile("5.db", "font"), FileError);
    QFile file;
    EXPECT_THROW(openRegularFile("5.db", file), FileError);  // returns: no writer is waited for
    EXPECT_TRUE(QFileInfo("5.db").exists() && !QFileInfo("5.db").isFile());

    const FileIdentity written = reversi::writeFile("6.db", "font");
    reversi::writeFile("6.db", "another run's font");  // a new file under the same name
    removeFileIfSame("6.db", written);
    EXPECT_EQ(readFile("6.db"), QByteArray("another run's font"));

    // No step goes through a linked folder: "data" leading elsewhere keeps what is there.
    QDir().mkdir("elsewhere");
    writeFile("elsewhere/0.db", "kept");
    ASSERT_TRUE(QFile::link("elsewhere", "data"));
    removeFile("data/0.db");
    EXPECT_THROW(reversi::writeFile("data/0.db", "300\r\n"), FileError);
    EXPECT_THROW(openRegularFile("data/0.db", file), FileError);
    EXPECT_EQ(readFile("elsewhere/0.db"), QByteArray("kept"));
    EXPECT_EQ(
        QDir().entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDir::Name),
        (QStringList{"0.db", "5.db", "6.db", "data", "elsewhere", "outside"}));  // no temporary
}

TEST_F(Toolkit, AnErrorOutOfAHandlerIsShownAndEndsOnlyThatHandler) {
    bool after = false;
    runHandler([&] {
        throw FileError("Cannot write \"0.db\"");
        after = true;
    });
    runHandler([&] { after = true; });
    EXPECT_EQ(errors, QStringList{"Cannot write \"0.db\""});
    EXPECT_TRUE(after);
}

TEST_F(Toolkit, LabelsAreOpaqueAndFitTheirText) {
    QWidget parent;
    OpaqueLabel label("1", &parent);
    const int narrow = label.width();
    label.setCaption("12345678");
    EXPECT_GT(label.width(), narrow);
    label.setBackground(Qt::red);
    label.setFontColour(Qt::white);
    EXPECT_TRUE(label.autoFillBackground());
    EXPECT_EQ(label.background(), QColor(Qt::red));
    EXPECT_EQ(label.fontColour(), QColor(Qt::white));
}

// What a screen reader meets: windows named by their captions, also minimised, and a count or
// clock named by whose it is, its number its value, until it shows words.
TEST_F(Toolkit, AScreenReaderMeetsNamedWindowsAndNumbersNamedByWhoseTheyAre) {
    accessibility::install();
    const auto presented = QAccessible::queryAccessibleInterface;
    LayoutWindow menu;
    ModalWindow info(FirstShowing::minimised);
    info.setWindowTitle("Info");
    info.showMinimized();
    EXPECT_EQ(presented(&menu)->role(), QAccessible::Window);
    EXPECT_EQ(presented(&info)->role(), QAccessible::Dialog);
    EXPECT_EQ(presented(&info)->text(QAccessible::Name), "Info");

    OpaqueLabel clock("300", &menu);  // presented by Qt as soon as its constructor sets the text
    accessibility::nameValueLabel(&clock, "Red clock");
    const auto read = [&] {
        QAccessibleInterface* label = presented(&clock);
        QAccessibleValueInterface* number = label->valueInterface();
        return QStringList{label->text(QAccessible::Name), label->text(QAccessible::Description),
                           number ? number->currentValue().toString() : "no value"};
    };
    EXPECT_EQ(read(), QStringList({"Red clock", "300", "300"}));
    clock.setCaption("-2");  // a clock run out goes on below 0 after "Redraw"
    EXPECT_EQ(read(), QStringList({"Red clock", "-2", "-2"}));
    clock.setCaption("lose!");
    EXPECT_EQ(read(), QStringList({"lose!", "", ""}));
}

TEST_F(Toolkit, EnablingATimerTwiceDoesNotRestartIt) {
    PeriodicTimer timer(1000, nullptr);
    EXPECT_FALSE(timer.isEnabled());
    timer.setEnabled(true);
    // Once some of the interval has gone, enabling again keeps what is left of it: a restart
    // would give the whole interval back. (The timer's id tells nothing: Qt hands a freed id
    // straight out again.)
    QElapsedTimer waited;
    waited.start();
    while (timer.remainingTime() > 990 && waited.elapsed() < 5000) {
    }
    const int left = timer.remainingTime();
    timer.setEnabled(true);
    EXPECT_LE(timer.remainingTime(), left);
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isEnabled());
}

TEST_F(Toolkit, AModalWindowBlocksUntilClosedAndKeepsItsState) {
    ModalWindow window(FirstShowing::maximised);
    auto* child = new OpaqueLabel("kept", &window);
    bool sawMaximised = false;
    QTimer::singleShot(0, &window, [&] {
        sawMaximised = window.isVisible() && window.isMaximized();
        child->setCaption("changed");
        window.close();
    });
    window.showModal();  // returns when the window closes
    EXPECT_TRUE(sawMaximised);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(child->text(), "changed");

    // The next showing keeps the state it was closed in.
    bool sawNormal = false;
    QTimer::singleShot(0, &window, [&] {
        window.showNormal();
        sawNormal = !window.isMaximized();
        window.close();
    });
    window.showModal();
    QTimer::singleShot(0, &window, [&] {
        sawNormal = sawNormal && !window.isMaximized() && window.isVisible();
        window.close();
    });
    window.showModal();
    EXPECT_TRUE(sawNormal);
}

}  // namespace
}  // namespace reversi
