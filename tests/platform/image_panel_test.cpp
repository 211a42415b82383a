#include "platform/image_panel.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(ImagePanel, HasItsNameAFixedSizeAndTracksTheMouse) {
    ImagePanel panel(QStringLiteral("Grafico_traccia"), 151, 600);
    EXPECT_EQ(panel.objectName(), QStringLiteral("Grafico_traccia"));
    EXPECT_EQ(panel.size(), QSize(151, 600));
    EXPECT_EQ(panel.minimumSize(), panel.maximumSize());
    EXPECT_TRUE(panel.hasMouseTracking());
    panel.setPanelHeight(734);
    EXPECT_EQ(panel.size(), QSize(151, 734));
    EXPECT_EQ(panel.maximumSize(), QSize(151, 734));
    EXPECT_FALSE(panel.hasPicture());
}

TEST(ImagePanel, ShowsItsPictureAndTakesMarksIntoIt) {
    ImagePanel panel(QStringLiteral("core_image"), 20, 10);
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 0));
    panel.setPicture(image);
    ASSERT_TRUE(panel.hasPicture());
    panel.picture().moveTo(0, 5);
    panel.picture().lineTo(20, 5);
    // The panel holds a copy: the image handed in is untouched.
    EXPECT_EQ(image.pixel(3, 5), qRgb(0, 128, 0));

    const QImage shown = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(3, 2), qRgb(0, 128, 0));
    EXPECT_EQ(shown.pixel(3, 5), qRgb(0, 0, 0));
    panel.clearPicture();
    EXPECT_FALSE(panel.hasPicture());
}

TEST(ImagePanel, ReportsMouseMovesPressesReleasesAndDoubleClicks) {
    ImagePanel panel(QStringLiteral("Grafico_velocita"), 151, 200);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy moved(&panel, &ImagePanel::mouseMoved);
    QSignalSpy pressed(&panel, &ImagePanel::mousePressed);
    QSignalSpy released(&panel, &ImagePanel::mouseReleased);
    QSignalSpy doubled(&panel, &ImagePanel::doubleClicked);

    QTest::mouseMove(&panel, QPoint(30, 40));
    ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0; }));
    EXPECT_EQ(moved.last().at(0).toInt(), 30);
    EXPECT_EQ(moved.last().at(1).toInt(), 40);

    QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(12, 150));
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(14, 151));
    ASSERT_TRUE(QTest::qWaitFor([&] { return released.count() > 0; }));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).toInt(), 12);
    EXPECT_EQ(pressed.at(0).at(1).toInt(), 150);
    EXPECT_EQ(pressed.at(0).at(2).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_FALSE(pressed.at(0).at(3).toBool());
    EXPECT_EQ(released.at(0).at(0).toInt(), 14);
    EXPECT_EQ(released.at(0).at(1).toInt(), 151);

    QTest::mouseDClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(70, 90));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doubled.count() > 0; }));
    EXPECT_EQ(doubled.at(0).at(0).toInt(), 70);
    EXPECT_EQ(doubled.at(0).at(1).toInt(), 90);
    ASSERT_EQ(pressed.count(), 2) << "the second press of a double click is a press too";
    EXPECT_EQ(pressed.at(1).at(0).toInt(), 70);
    EXPECT_EQ(pressed.at(1).at(1).toInt(), 90);
    EXPECT_TRUE(pressed.at(1).at(3).toBool()) << "and says so";
}

} // namespace
} // namespace quarvel
