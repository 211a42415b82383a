#include "support/main_widgets.h"

#include "main_window/main_form.h"
#include "platform/image_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

// One object of the name; none, or two that a script could mistake for each
// other, fail the test.
template <class Object> Object* named(const TMainForm& main, const char* name) {
    const QList<Object*> found = main.findChildren<Object*>(QLatin1String(name));
    EXPECT_EQ(found.size(), 1) << found.size() << " objects named " << name
                               << " in the main window";
    return found.isEmpty() ? nullptr : found.front();
}

} // namespace

MainWidgets::MainWidgets(const TMainForm& main) {
    Panel1 = named<QFrame>(main, "Panel1");
    SpeedButton1 = named<QToolButton>(main, "SpeedButton1");
    SpeedButton2 = named<QToolButton>(main, "SpeedButton2");
    correlator = named<QCheckBox>(main, "correlator");
    SpeedButton3 = named<QToolButton>(main, "SpeedButton3");
    SpeedButton4 = named<QToolButton>(main, "SpeedButton4");
    SpeedButton5 = named<QToolButton>(main, "SpeedButton5");
    Panel2 = named<QFrame>(main, "Panel2");
    Photo = named<QCheckBox>(main, "Photo");
    Synth = named<QCheckBox>(main, "Synth");
    Trace = named<QCheckBox>(main, "Trace");
    Pwave = named<QCheckBox>(main, "Pwave");
    Edit2 = named<QLineEdit>(main, "Edit2");
    density = named<QCheckBox>(main, "density");
    Edit3 = named<QLineEdit>(main, "Edit3");
    ScrollBox4 = named<QScrollArea>(main, "ScrollBox4");
    core_image = named<ImagePanel>(main, "core_image");
    Grafico_sintetico = named<ImagePanel>(main, "Grafico_sintetico");
    Grafico_traccia = named<ImagePanel>(main, "Grafico_traccia");
    Grafico_velocita = named<ImagePanel>(main, "Grafico_velocita");
    grafico_densita = named<ImagePanel>(main, "grafico_densita");
    StatusPanel0 = named<QLabel>(main, "StatusPanel0");
    StatusPanel1 = named<QLabel>(main, "StatusPanel1");
    LoadCorePhoto1 = named<QAction>(main, "LoadCorePhoto1");
    Load1 = named<QAction>(main, "Load1");
    SaveToFile1 = named<QAction>(main, "SaveToFile1");
    Exit1 = named<QAction>(main, "Exit1");
    ables1 = named<QAction>(main, "ables1");
    ChirpParameters1 = named<QAction>(main, "ChirpParameters1");
    CoreImageBoundaries1 = named<QAction>(main, "CoreImageBoundaries1");
    DensityScale1 = named<QAction>(main, "DensityScale1");
    VelocityScale1 = named<QAction>(main, "VelocityScale1");
    AnotFont1 = named<QAction>(main, "AnotFont1");
    About1 = named<QAction>(main, "About1");
    ExportTiePoints1 = named<QAction>(main, "ExportTiePoints1");
    ClearTiePoints1 = named<QAction>(main, "ClearTiePoints1");
    ExportTimeDepth1 = named<QAction>(main, "ExportTimeDepth1");
    ExportTieDepth1 = named<QAction>(main, "ExportTieDepth1");
    Tie1 = named<QAction>(main, "Tie1");
    SeaFloorStart1 = named<QAction>(main, "SeaFloorStart1");
    AntiAliased1 = named<QAction>(main, "AntiAliased1");
}

} // namespace quarvel::testing
