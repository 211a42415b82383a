// The two scale dialogs and the graphic parameters dialog.

#include "document/workspace.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "plot/final_table_form.h"
#include "plot/graph_form.h"
#include "plot/scale_forms.h"
#include "support/app_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QWindow>

namespace quarvel {
namespace {

class ScaleFormsTest : public testing::AppFixture {
protected:
    // Both dialogs through their common face, with what sets them apart.
    struct Dialog {
        LogScaleDialog* dialog;
        QString caption;
        int minimum;
        int maximum;
        int fieldLeft;
        ImagePanel* panel;
        QAction* menuItem;
    };

    std::vector<Dialog> both() const {
        return {{forms().VelScaleForm, "P-wave", 1400, 1600, 32, mainWidgets().Grafico_velocita,
                 mainWidgets().DensityScale1},
                {forms().DensityScaleForm, "Density", 1400, 2300, 24, mainWidgets().grafico_densita,
                 mainWidgets().VelocityScale1}};
    }

    // Velocities 1480 .. 1620, densities 1.5 .. 2.2.
    void writeLog() {
        TextBuilder text;
        text.line("0.10 1480 1.50");
        text.line("0.20 1550 1.90");
        text.line("0.30 1620.9 2.2");
        workDir.write("log.dat", text.text());
    }
};

TEST_F(ScaleFormsTest, StartWithAutoScaleAndTheDefaultBounds) {
    for (const Dialog& d : both()) {
        SCOPED_TRACE(d.caption.toStdString());
        EXPECT_EQ(d.dialog->windowTitle(), d.caption);
        EXPECT_FALSE(d.dialog->isModal());
        EXPECT_TRUE(d.dialog->autoBox()->isChecked());
        EXPECT_EQ(d.dialog->autoBox()->text(), "Auto Scale");
        EXPECT_EQ(d.dialog->minimumField()->value(), d.minimum);
        EXPECT_EQ(d.dialog->maximumField()->value(), d.maximum);
        EXPECT_FALSE(d.dialog->minimumField()->isEnabled());
        EXPECT_FALSE(d.dialog->maximumField()->isEnabled());
        EXPECT_EQ(d.dialog->minimumField()->geometry(), QRect(d.fieldLeft, 48, 105, 22));
        EXPECT_EQ(d.dialog->maximumField()->geometry(), QRect(d.fieldLeft, 88, 105, 22));
        EXPECT_EQ(d.dialog->okButton()->text(), "OK");
        EXPECT_EQ(d.dialog->cancelButton()->text(), "Cancel");
    }
    EXPECT_EQ(forms().VelScaleForm->minimumField()->objectName(), "MinVel");
    EXPECT_EQ(forms().DensityScaleForm->maximumField()->objectName(), "MaxDens");
}

TEST_F(ScaleFormsTest, OpenedFromTheCrossedMenuItemsAndByDoubleClick) {
    for (const Dialog& d : both()) {
        SCOPED_TRACE(d.caption.toStdString());
        d.menuItem->trigger();
        EXPECT_TRUE(d.dialog->isVisible());
        d.dialog->hide();
        QTest::mouseDClick(d.panel, Qt::LeftButton, {}, QPoint(50, 50));
        EXPECT_TRUE(d.dialog->isVisible());
        d.dialog->hide();
    }
}

TEST_F(ScaleFormsTest, AutoScaleSwitchesTheFieldsOffAndOn) {
    for (const Dialog& d : both()) {
        SCOPED_TRACE(d.caption.toStdString());
        d.dialog->show();
        QTest::mouseClick(d.dialog->autoBox(), Qt::LeftButton);
        EXPECT_FALSE(d.dialog->autoBox()->isChecked());
        EXPECT_TRUE(d.dialog->minimumField()->isEnabled());
        EXPECT_TRUE(d.dialog->maximumField()->isEnabled());
        QTest::mouseClick(d.dialog->autoBox(), Qt::LeftButton);
        EXPECT_FALSE(d.dialog->minimumField()->isEnabled());
        EXPECT_FALSE(d.dialog->maximumField()->isEnabled());
    }
}

TEST_F(ScaleFormsTest, CancelPutsBackTheBoundsOfTheOpeningButNotAutoScale) {
    for (const Dialog& d : both()) {
        SCOPED_TRACE(d.caption.toStdString());
        d.dialog->show();
        d.dialog->autoBox()->setChecked(false);
        d.dialog->minimumField()->setValue(1234);
        d.dialog->maximumField()->setValue(5678);
        QTest::mouseClick(d.dialog->cancelButton(), Qt::LeftButton);

        EXPECT_FALSE(d.dialog->isVisible());
        EXPECT_EQ(d.dialog->minimumField()->value(), d.minimum);
        EXPECT_EQ(d.dialog->maximumField()->value(), d.maximum);
        EXPECT_FALSE(d.dialog->autoBox()->isChecked());
        EXPECT_TRUE(d.dialog->minimumField()->isEnabled());
        EXPECT_FALSE(d.panel->hasPicture());

        // The next opening remembers what stands then.
        d.dialog->minimumField()->setValue(1000);
        d.dialog->show();
        d.dialog->minimumField()->setValue(999);
        QTest::mouseClick(d.dialog->cancelButton(), Qt::LeftButton);
        EXPECT_EQ(d.dialog->minimumField()->value(), 1000);
    }
}

// The dialogs show the scales the document holds (a session opened), Auto
// Scale included, so a bound typed next is not stored with a stale Auto.
TEST_F(ScaleFormsTest, TheDialogsShowTheScalesTheDocumentHolds) {
    LogScaleSettings scales = workspace().plotSettings().scales();
    scales.minVel = scales.minDens = 1450;
    for (const bool automatic : {false, true}) {
        scales.autoVel = scales.autoDens = automatic;
        workspace().plotSettings().setScales(scales);
        for (const Dialog& d : both()) {
            SCOPED_TRACE(d.caption.toStdString());
            EXPECT_EQ(d.dialog->autoBox()->isChecked(), automatic);
            EXPECT_EQ(d.dialog->minimumField()->isEnabled(), !automatic);
            EXPECT_EQ(d.dialog->maximumField()->isEnabled(), !automatic);
            EXPECT_EQ(d.dialog->minimumField()->value(), 1450);
        }
    }
}

TEST_F(ScaleFormsTest, OkWithAutoScaleTakesTheLogRangeAndRedraws) {
    writeLog();
    for (const Dialog& d : both()) {
        SCOPED_TRACE(d.caption.toStdString());
        d.dialog->show();
        QTest::mouseClick(d.dialog->okButton(), Qt::LeftButton);
        EXPECT_FALSE(d.dialog->isVisible());
        EXPECT_TRUE(d.panel->hasPicture());
    }
    EXPECT_EQ(forms().VelScaleForm->minimumField()->value(), 1480);
    EXPECT_EQ(forms().VelScaleForm->maximumField()->value(), 1620);
    EXPECT_EQ(forms().DensityScaleForm->minimumField()->value(), 1500);
    EXPECT_EQ(forms().DensityScaleForm->maximumField()->value(), 2200);
    EXPECT_EQ(ws().MeanVelocity, 1550.0);
    EXPECT_TRUE(mainWidgets().Pwave->isChecked());
    EXPECT_TRUE(mainWidgets().density->isChecked());
}

TEST_F(ScaleFormsTest, OkWithTypedBoundsKeepsThemAndTheirMean) {
    writeLog();
    TVelScaleForm* velocity = forms().VelScaleForm;
    velocity->show();
    velocity->autoBox()->setChecked(false);
    velocity->minimumField()->setValue(1000);
    velocity->maximumField()->setValue(2001);
    QTest::mouseClick(velocity->okButton(), Qt::LeftButton);

    EXPECT_EQ(velocity->minimumField()->value(), 1000);
    EXPECT_EQ(velocity->maximumField()->value(), 2001);
    EXPECT_EQ(ws().MeanVelocity, 1500.5);
    // The density dialog was left on Auto Scale.
    EXPECT_EQ(forms().DensityScaleForm->minimumField()->value(), 1500);
    // The first segment from the corner runs to the first record, at column
    // (1480 - 1000) / (1001 / 151) = 72.4 -> 72 on row 0.1 / (0.2 / 600) = 300.
    const Canvas& picture = mainWidgets().Grafico_velocita->picture();
    EXPECT_EQ(picture.pixel(36, 150), 0xff000000);
}

TEST_F(ScaleFormsTest, GraphicParametersKeepWhatWasTypedOnOkAndCancel) {
    TGraphForm* graph = forms().GraphForm;
    auto* Edit1 = child<QLineEdit>(graph, "Edit1");
    auto* Edit3 = child<QLineEdit>(graph, "Edit3");
    EXPECT_EQ(graph->windowTitle(), "Graphic Param.");
    EXPECT_FALSE(graph->isModal());
    const std::pair<QLineEdit*, QString> defaults[] = {{Edit1, "10"},
                                                       {child<QLineEdit>(graph, "Edit2"), "50"},
                                                       {Edit3, "200"},
                                                       {child<QLineEdit>(graph, "Edit4"), "200"}};
    for (const auto& [field, text] : defaults)
        EXPECT_EQ(field->text(), text) << field->objectName().toStdString();

    for (QPushButton* button :
         {child<QPushButton>(graph, "BitBtn1"), child<QPushButton>(graph, "BitBtn2")}) {
        SCOPED_TRACE(button->text().toStdString());
        graph->show();
        Edit3->setText("1000");
        Edit1->setText("x");
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(graph->isVisible());
        EXPECT_EQ(Edit3->text(), "1000");
        EXPECT_EQ(Edit1->text(), "x");
    }
    EXPECT_FALSE(mainWidgets().Grafico_velocita->hasPicture());
}

// The final plot's additions are offered only where the document can draw
// them, saying why not otherwise; what is ticked and typed is the document's.
TEST_F(ScaleFormsTest, GraphicParametersOfferThePlotsAdditionsWhereTheyCanBeDrawn) {
    TGraphForm* graph = forms().GraphForm;
    auto* tied = child<QCheckBox>(graph, "TiedSyntheticBox");
    auto* excerpt = child<QCheckBox>(graph, "SectionExcerptBox");
    auto* traces = child<QLineEdit>(graph, "SectionTracesEdit");
    graph->show();
    EXPECT_FALSE(tied->isEnabled() || excerpt->isEnabled() || traces->isEnabled());
    EXPECT_TRUE(tied->toolTip().startsWith("Measure the tie"));
    workspace().series().takeTrace("0 1\r\n1 2\r\n", {"line.sgy", SegyChoiceFields{}, 0.0});
    EXPECT_TRUE(excerpt->isEnabled() && traces->isEnabled() && !tied->isEnabled());
    QTest::mouseClick(excerpt, Qt::LeftButton, {}, QPoint(8, excerpt->height() / 2));
    traces->setText("7");
    EXPECT_EQ(workspace().plotSettings().finalPlotOptions(), (FinalPlotOptions{false, true, "7"}));
    workspace().plotSettings().setFinalPlotOptions({true, false, "3"});
    EXPECT_TRUE(tied->isChecked());
    EXPECT_FALSE(excerpt->isChecked());
    EXPECT_EQ(traces->text(), "3");
}

// Opened, closed with OK or Cancel and opened again, each dialog comes back
// where it was, and where the user moved it.
TEST_F(ScaleFormsTest, DialogsReopenWhereTheyWere) {
    showMainWindow();
    const std::pair<QDialog*, QAction*> dialogs[] = {
        {forms().GraphForm, child<QAction>(forms().FinalTableForm, "Parameters1")},
        {forms().VelScaleForm, mainWidgets().DensityScale1},
        {forms().DensityScaleForm, mainWidgets().VelocityScale1},
    };
    for (const auto& [dialog, opener] : dialogs) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        opener->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        QPoint place = dialog->pos();
        for (const char* button : {"BitBtn1", "BitBtn2"}) {
            QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
            opener->trigger();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->pos() == place; }))
                << place.x() << "," << place.y() << " became " << dialog->pos().x() << ","
                << dialog->pos().y();
            // Dragged by its frame: the window system moves it.
            place += QPoint(30, 40);
            dialog->windowHandle()->setFramePosition(place);
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->pos() == place; }));
        }
        dialog->hide();
    }
}

} // namespace
} // namespace quarvel
