#pragma once

#include "main_window/forms.h"

#include <QMainWindow>
#include <QRgb>
#include <array>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QToolButton;

namespace quarvel {

class ImagePanel;
class Workspace;
struct SeriesData;
struct SeriesExtents;

// The correlation workspace: tool bar, selection bar, the five panels on one
// pixel scale, the status bar and the menus. It shows the Workspace and
// redraws a panel when the workspace announces new data for it.
// The class is split by concern over several files: main_form.cpp (layout,
// commands, enabling), main_form_panels.cpp (panel drawing),
// main_form_photo.cpp (the photograph and the mouse work on it),
// main_form_plot.cpp (final plot commands), main_form_tie.cpp (tie points,
// the time-depth table, the time-zero choice and its warning).
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(Services& services);
    ~TMainForm() override;

    // What the demo and the tests drive: "Final Plot", the photograph marks
    // are made on, and the File menu's "Exit", before which the session items
    // go.
    QToolButton* finalPlotButton() const { return SpeedButton2; }
    ImagePanel* photograph() const { return core_image; }
    QAction* exitItem() const { return Exit1; }
    // Set, "Fit Core to Panel": a photograph more than twice the panel's
    // width shows its core's columns squeezed into the panel.
    QAction* fitCoreItem() const { return FitCore1; }

    // Redraw the log panels, the synthetic and the trace from their working
    // files through the workspace.
    void draw_grafici();
    void Draw_sintetico();
    void Draw_trace();
    void enableCalcSynthetic();
    void enableAndCheckTrace();

    // Depth and two-way time under the pointer.
    void CALC_POINT_ATTRIBUTES(int dx, int dy, int xmin, int xmax, int ymin, int ymax);

    // Command handlers.
    void SpeedButton3Click();
    void FinalTableshowClick();
    void SaveToFile1Click();
    void LoadCorePhoto1Click();
    void Exit1Click();
    void ables1Click();
    void ChirpParameters1Click();
    void CoreImageBoundaries1Click();
    void DensityScale1Click();
    void VelocityScale1Click();
    void AnotFont1Click();
    void About1Click();
    void ExportTiePoints1Click();
    void ClearTiePoints1Click();
    void ExportTimeDepth1Click();
    void ExportTieDepth1Click();
    void Grafico_tracciaShiftDown(int y);
    void Tie1Click();

    // Mouse handlers.
    void core_imageMouseMove(int x, int y);
    void core_imageMouseDown(int y);
    void core_imageMouseUp(int y);
    void Grafico_sinteticoMouseMove(int x, int y);
    void Grafico_tracciaMouseMove(int x, int y);

    Services& services() { return services_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
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

    // Status bar panels 0 and 1.
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;

    // Menu items.
    QAction* LoadCorePhoto1 = nullptr; // "Load &Core Image"
    QAction* Load1 = nullptr;          // "Calc. Synthetic"
    QAction* SaveToFile1 = nullptr;    // "Create Final Plot"
    QAction* Exit1 = nullptr;
    QAction* ables1 = nullptr; // "Data Form"
    QAction* ChirpParameters1 = nullptr;
    QAction* CoreImageBoundaries1 = nullptr;
    QAction* DensityScale1 = nullptr;  // captioned "P-wave scale", opens the P-wave scale
    QAction* VelocityScale1 = nullptr; // captioned "Density Scale", opens the density scale
    QAction* AnotFont1 = nullptr;
    QAction* About1 = nullptr;
    // The tie (main_form_tie.cpp).
    QAction* ExportTiePoints1 = nullptr; // "Export Tie Points…"
    QAction* ClearTiePoints1 = nullptr;
    QAction* ExportTimeDepth1 = nullptr; // "Export Time-Depth Table…"
    QAction* ExportTieDepth1 = nullptr;  // "Export Time-Depth Table from Tie Points…"
    QAction* Tie1 = nullptr;             // opens the Tie window
    QAction* SeaFloorStart1 = nullptr;   // "Synthetic Starts at Sea Floor", checkable
    QAction* AntiAliased1 = nullptr;     // "Anti-aliased impedance", checkable
    QAction* FitCore1 = nullptr;         // "Fit Core to Panel", checkable, checked at start

    void buildToolBar();
    void buildSelectionBar();
    void buildPanels();
    void buildStatusBar();
    void buildMenus();
    void connectHandlers();
    void connectWorkspace();
    void buildTieMenus(QMenu* file, QMenu* open, QMenu* set);
    // The depth-varying tie's proposed and accepted tie points, as marks of
    // their own colours on the trace where the alignment puts them; the one
    // being dragged where the pointer is.
    struct TraceTieMark {
        double depth = 0.0; // m
        int row = 0;
        QRgb color = 0;
    };
    std::vector<TraceTieMark> depthVaryingMarks() const;
    void drawDepthVaryingTies();
    // The trace drawn again with every mark it holds now.
    void remarkTrace();
    // Dragging a depth-varying tie point's mark on the trace: the view maps
    // rows to times; the move is the document's command.
    struct TraceDrag {
        double depth = 0.0;
        int row = 0;
        bool moved = false;
    };
    void pressTieMark(int y, Qt::MouseButton button);
    void dragTieMark(int y);
    void releaseTieMark(int y);
    void showTimeZeroWarning();
    // The photograph the workspace shows, and its commands enabled.
    void showLoadedPhotograph();
    // The document's marks on the panels they lie on.
    void drawMarks();
    // The pointer's reading in the status bar and the log's fields.
    void showReading();
    // The selection bar's ticks, "Correlator" and "Fit Core to Panel" go to
    // the workspace, and come back from it.
    void storePanelChoices();
    void showPanelChoices();
    void drawLogPanels();
    void drawSynthetic();
    void drawTrace();
    // A series panel takes the photograph's height and the series drawn
    // over its extents; its check box is then enabled and checked.
    void drawSeriesPanel(ImagePanel* panel, QCheckBox* box, const SeriesData& series,
                         const SeriesExtents& extents, const QString& title);
    // Composes the final plot from what the workspace holds and shows it
    // (main_form_plot.cpp).
    void composeAndShow(bool withTitle);

    // The guide line on the photograph: the document's guide row, drawn in
    // not-XOR mode (twice restores the row), only when a log is loaded and
    // both "Correlator" and "Photo" are checked.
    bool guideActive() const;
    void invertGuideRow(int row);
    QRgb photographColour(int column, int row) const;
    // Installs the photograph as the workspace shows it in the core panel:
    // squeezed to the core's columns or as it is. Marks on it go.
    void showPhotograph();
    // Every panel with a picture drawn again from its data, without the
    // marks; the check boxes stay as they are.
    void removeMarks();
    // The image column under a column of the core panel.
    int photographColumn(int panelX) const;

    Services& services_;
    Workspace& workspace_;
    std::optional<TraceDrag> traceDrag_;
};

} // namespace quarvel
