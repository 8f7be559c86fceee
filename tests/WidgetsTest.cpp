#include "widgets/BusyAnimation.h"
#include "widgets/CLed.h"
#include "widgets/LogListWidget.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A parent with a plain background to compose the lamp over.
struct Backdrop {
    QWidget parent;
    CLed* led;
    explicit Backdrop(QSize size)
    {
        parent.resize(100, 100);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor(10, 20, 30));
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        led = new CLed(&parent);
        led->setGeometry(QRect(QPoint(0, 0), size));
    }
    QImage shot() { return parent.grab(QRect(QPoint(0, 0), led->size())).toImage(); }
};

} // namespace

TEST(CLed, CellOfEachState)
{
    const struct {
        int color, mode, shape;
        QPoint cell;
    } cases[] = {
        {CLed::Red, CLed::On, CLed::Circular, {0, 0}},
        {CLed::Green, CLed::Off, CLed::Circular, {32, 32}},
        {CLed::Yellow, CLed::Disabled, CLed::Circular, {64, 64}},
        {CLed::Blue, CLed::On, CLed::Square, {0, 224}},
        {CLed::Red, CLed::Disabled, CLed::Square, {64, 128}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLed::cellRect(c.color, c.mode, c.shape), QRect(c.cell, QSize(32, 32)));
    EXPECT_EQ(CLed::targetRect(QSize(40, 50)), QRect(4, 9, 32, 32));
    EXPECT_EQ(CLed::targetRect(QSize(32, 32)), QRect(0, 0, 32, 32));
    EXPECT_EQ(CLed::targetRect(QSize(20, 60)), QRect(0, 0, 32, 32)); // too narrow: top-left
    const QImage strip = CLed::makeStrip();
    EXPECT_EQ(strip.size(), QSize(96, 256));
    EXPECT_EQ(strip.pixel(0, 0), CLed::Transparent);
}

TEST(CLed, StartsRedOffCircularAndDrawsOverTheParentsBackground)
{
    Backdrop big(QSize(40, 40));
    EXPECT_EQ(big.led->ledColor(), CLed::Red);
    EXPECT_EQ(big.led->ledMode(), CLed::Off);
    EXPECT_EQ(big.led->ledShape(), CLed::Circular);
    big.led->setLed(CLed::Green, CLed::On, CLed::Circular);
    const QImage image = big.shot();
    const QColor centre = image.pixelColor(20, 24);
    EXPECT_GT(centre.green(), 150);
    EXPECT_LT(centre.red(), 100);
    // Corners show the parent, never the strip's magenta.
    EXPECT_EQ(image.pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(image.pixelColor(39, 39), QColor(10, 20, 30));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(10, 20, 30));
}

TEST(CLed, ASmallControlDrawsFromItsTopLeftCutOff)
{
    Backdrop small(QSize(20, 20));
    small.led->setLed(CLed::Red, CLed::On, CLed::Square);
    const QImage image = small.shot();
    // The square body starts 4 px into the cell; centred it would start off
    // the control entirely on the left.
    EXPECT_EQ(image.pixelColor(2, 2), QColor(10, 20, 30));
    const QColor body = image.pixelColor(15, 15);
    EXPECT_GT(body.red(), 150);
    EXPECT_LT(body.green(), 100);
}

TEST(BusyAnimation, PlaysOnlyWhileRunningAndIsEmptyWhenStopped)
{
    QWidget parent;
    parent.resize(80, 48);
    auto* animation = new BusyAnimation(&parent);
    animation->resize(80, 48);
    const QImage empty = parent.grab().toImage();
    animation->start();
    EXPECT_TRUE(animation->isRunning());
    const QImage playing = parent.grab().toImage();
    EXPECT_NE(empty, playing);
    animation->stop();
    EXPECT_EQ(parent.grab().toImage(), empty);
}

TEST(LogListWidget, KeepsTheNewestLinesUpToItsCap)
{
    LogListWidget list(nullptr, 1000);
    for (int i = 0; i < 5000; ++i)
        list.appendLine(QStringLiteral("HB: %1").arg(i));
    EXPECT_LE(list.count(), 1000);
    EXPECT_GE(list.count(), 900);
    EXPECT_EQ(list.line(list.count() - 1), QStringLiteral("HB: 4999"));
    EXPECT_EQ(list.currentRow(), list.count() - 1);
    // Lines in order, none lost between the oldest kept and the newest.
    const int first = list.line(0).mid(4).toInt();
    EXPECT_EQ(first + list.count() - 1, 4999);
    list.appendLine(QStringLiteral("not selected"), false);
    EXPECT_EQ(list.currentRow(), list.count() - 2);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.lines().isEmpty());
}
