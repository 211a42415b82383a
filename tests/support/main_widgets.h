#pragma once

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace quarvel {
class ImagePanel;
class TMainForm;
} // namespace quarvel

namespace quarvel::testing {

// The main window's widgets and menu items, found by their object names as a
// script driving the program would find them; a name the window lacks fails
// the test. The members are named as the objects are.
struct MainWidgets {
    MainWidgets() = default;
    explicit MainWidgets(const TMainForm& main);

    // Tool bar.
    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr; // "Calc. Synthetic"
    QToolButton* SpeedButton2 = nullptr; // "Final Plot"
    QCheckBox* correlator = nullptr;
    QToolButton* SpeedButton3 = nullptr; // "Core"
    QToolButton* SpeedButton4 = nullptr; // "Data"
    QToolButton* SpeedButton5 = nullptr; // "Chirp"

    // Selection bar.
    QFrame* Panel2 = nullptr;
    QCheckBox* Photo = nullptr;
    QCheckBox* Synth = nullptr;
    QCheckBox* Trace = nullptr;
    QCheckBox* Pwave = nullptr;
    QLineEdit* Edit2 = nullptr;
    QCheckBox* density = nullptr;
    QLineEdit* Edit3 = nullptr;

    // Panels.
    QScrollArea* ScrollBox4 = nullptr;
    ImagePanel* core_image = nullptr;
    ImagePanel* Grafico_sintetico = nullptr;
    ImagePanel* Grafico_traccia = nullptr;
    ImagePanel* Grafico_velocita = nullptr;
    ImagePanel* grafico_densita = nullptr;

    // Status bar.
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;

    // Menu items.
    QAction* LoadCorePhoto1 = nullptr;
    QAction* Load1 = nullptr;
    QAction* SaveToFile1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* ables1 = nullptr;
    QAction* ChirpParameters1 = nullptr;
    QAction* CoreImageBoundaries1 = nullptr;
    QAction* DensityScale1 = nullptr;
    QAction* VelocityScale1 = nullptr;
    QAction* AnotFont1 = nullptr;
    QAction* About1 = nullptr;
    QAction* ExportTiePoints1 = nullptr;
    QAction* ClearTiePoints1 = nullptr;
    QAction* ExportTimeDepth1 = nullptr;
    QAction* ExportTieDepth1 = nullptr;
    QAction* Tie1 = nullptr;
    QAction* SeaFloorStart1 = nullptr;
    QAction* AntiAliased1 = nullptr;
};

} // namespace quarvel::testing
