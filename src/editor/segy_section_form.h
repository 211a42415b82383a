#pragma once

#include "plot/section_picture.h"
#include "survey/segy_line.h"
#include "survey/segy_section.h"

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace quarvel {

class ErrorReporter;
class ImagePanel;

// "SEG-Y Section": the whole line as a picture. The wheel zooms about the
// trace under the pointer, a drag pans along the line, a click chooses the
// trace; the pointer's trace, shot, position and time show below. Building
// a view reads one trace a column, with progress and a Cancel button.
class SegySectionForm : public QWidget {
    Q_OBJECT
public:
    // Columns and rows of the section drawn.
    static constexpr int SectionWidth = 900;
    static constexpr int SectionHeight = 480;

    SegySectionForm(ErrorReporter& errors, QWidget* parent);
    ~SegySectionForm() override;

    // Opens the line (raising when it cannot be read, before anything
    // changes), draws all of it and shows the window.
    void open(const std::filesystem::path& path);
    // Marks the chosen trace (from 0; -1 for none) and its stack.
    void setChosen(int trace, int stack);
    // The synthetic drawn as an inset at the chosen trace (times in seconds
    // of the loaded trace's listing, where the tie puts it; `zeroMs` the
    // trace's own time at the listing's time 0, none for its sea-floor
    // pick); empty for none.
    void setSynthetic(const SeriesData& synthetic, std::optional<double> zeroMs);
    // The core's position, marked at the traces of that channel (from 0)
    // nearest to it and reported below the section; none for no mark.
    void setCorePosition(const std::optional<CorePosition>& position, int channel);

    const SegySection& section() const { return section_; }
    TraceSpan shownTraces() const { return shown_; }

signals:
    // A click on the section chose this trace (from 0, in file order).
    void traceChosen(int trace);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* ColoursBox = nullptr;
    QSpinBox* ClipSpin = nullptr;
    QComboBox* AcrossBox = nullptr;
    QCheckBox* FlattenCheck = nullptr;
    QCheckBox* InsetCheck = nullptr;
    QPushButton* WholeLineButton = nullptr;
    ImagePanel* SectionImage = nullptr;
    QLabel* HoverLabel = nullptr;
    QLabel* CoreLabel = nullptr;
    QProgressBar* BuildProgress = nullptr;
    QPushButton* CancelBuildButton = nullptr;

    void build();
    // Reads the shown traces again; the picture stays as it was when
    // cancelled.
    void rebuild(TraceSpan span);
    // Draws the section built with the current colours and marks.
    void redraw();
    // The traces nearest the core's position, found again on the line.
    void findCore();
    void hover(int x, int y);
    void press(int x, Qt::MouseButton button);
    void release(int x, Qt::MouseButton button);

    ErrorReporter& errors_;
    std::unique_ptr<SegyReader> reader_;
    SegySection section_;
    TraceSpan shown_;
    SectionStyle style_;
    SeriesData synthetic_;
    std::optional<double> syntheticZeroMs_;
    std::optional<CorePosition> core_;
    int coreChannel_ = 0;
    bool building_ = false;
    bool cancelled_ = false;
    int pressedAt_ = -1; // x of a press not yet released
};

} // namespace quarvel
