#pragma once

#include "calibration/core_photo_form.h"
#include "main_window/main_form.h"
#include "platform/canvas.h"
#include "platform/image_panel.h"
#include "support/app_fixture.h"

#include <QCheckBox>
#include <QImage>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace quarvel::testing {

// The photograph's colour, the same inverted by the guide line, and the
// pens' colours.
namespace photo_colours {
inline constexpr QRgb PhotoColour = 0xff336699;
inline constexpr QRgb Inverted = 0xffcc9966;
inline constexpr QRgb Black = 0xff000000;
inline constexpr QRgb White = 0xffffffff;
} // namespace photo_colours

// The main window shown, with photographs to load and the mouse to move and
// click over them.
class Photo : public AppFixture {
protected:
    Photo() {
        showMainWindow();
        main = &mainForm();
        widgets = mainWidgets();
        bounds = forms().Core_Photo_Form;
    }

    QString writePhoto(const char* name, int width, int height) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(photo_colours::PhotoColour);
        const QString path = QString::fromStdString(workDir.file(name).string());
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    void load(const std::optional<QString>& answer) {
        dialogs.expectOpenFile(answer);
        widgets.LoadCorePhoto1->trigger();
    }

    // A photograph to work on. Without a boundary file the boundaries window
    // opens, over the panels on a real display; close it as the user would.
    void loadToProbe(const char* name, int width, int height) {
        load(writePhoto(name, width, height));
        bounds->close();
    }

    // The three-record log loaded, calibrated so row 512 is 0.4995 m; its
    // panels unticked, so a click marks only the panels a test ticks.
    void haveLog() {
        loadThreeRecordLog();
        widgets.Pwave->setChecked(false);
        widgets.density->setChecked(false);
        bounds->setBoundaries(Boundaries{});
    }

    // Moves without a button go through the cursor, which reports only a
    // change of position and only over what is in view: scroll the point into
    // view and pass over the tool bar first, so that a move to where an
    // earlier test left the cursor still arrives. On a real display the move
    // arrives later, so wait until the panel has seen it.
    void moveOver(ImagePanel* panel, QPoint at) const {
        const QPoint inArea = panel->mapTo(widgets.ScrollBox4->widget(), at);
        widgets.ScrollBox4->ensureVisible(inArea.x(), inArea.y());
        bool arrived = false;
        const QMetaObject::Connection seen =
            QObject::connect(panel, &ImagePanel::mouseMoved,
                             [&](int x, int y) { arrived = arrived || QPoint(x, y) == at; });
        QTest::mouseMove(widgets.Panel1);
        QTest::mouseMove(panel, at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return arrived; })) << "the move never arrived";
        QObject::disconnect(seen);
    }
    void move(int x, int y) { moveOver(widgets.core_image, QPoint(x, y)); }
    void click(int x, int y) {
        QTest::mouseClick(widgets.core_image, Qt::LeftButton, {}, QPoint(x, y));
    }

    QImage picture(const ImagePanel* panel) const { return panel->picture().image(); }
    QRgb pixel(const ImagePanel* panel, int x, int y) const { return panel->picture().pixel(x, y); }

    // The panel as a mark at that row draws it: a black line from column 1
    // to width - 2, then the label at (1, row) in the picture's font.
    static QImage marked(const QImage& before, int row, const QString& label) {
        Canvas expected(before);
        expected.moveTo(1, row);
        expected.lineTo(before.width() - 1, row);
        expected.textOut(1, row, label);
        return expected.image();
    }

    void whitePanel(ImagePanel* panel) {
        QImage blank(panel->panelWidth(), panel->panelHeight(), QImage::Format_RGB32);
        blank.fill(photo_colours::White);
        panel->setPicture(blank);
    }

    TMainForm* main = nullptr;
    MainWidgets widgets;
    TCore_Photo_Form* bounds = nullptr;
};

} // namespace quarvel::testing
