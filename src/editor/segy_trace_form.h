#pragma once

#include "formats/series_file.h"
#include "survey/segy_choice.h"

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace quarvel {

class ErrorReporter;
class SegySectionForm;

// "SEG-Y Trace": the headers of a SEG-Y line for review, and the choice of
// the trace that becomes the trace listing: by index, shot or position, with
// stacking, the sample interval, the sea-floor cut and the length. The work
// is SegyChoiceFields and loadSegyTrace's; this window shows and collects.
class SegyTraceForm : public QDialog {
    Q_OBJECT
public:
    using LoadHandler = std::function<void(const SegyLoad&)>;

    SegyTraceForm(ErrorReporter& errors, QWidget* parent);
    ~SegyTraceForm() override;

    // Reads the line's headers (raising when the file cannot be read, before
    // anything is shown), fills the fields and shows the window. `onLoad`
    // gets the listing when the user presses "Load".
    void offer(const std::filesystem::path& path, const LengthSpans& spans, LoadHandler onLoad);

    // The synthetic the section window draws as an inset at the chosen
    // trace, with the trace's own time at its listing's time 0 (none: the
    // trace's sea-floor pick).
    void setSynthetic(const SeriesData& synthetic, std::optional<double> zeroMs);

    // The core's position the X and Y fields start with at the next offer;
    // without one they start empty.
    void setCorePosition(const std::optional<CorePosition>& position);

    SegyChoiceFields fields() const;
    void LoadTraceButtonClick();
    // Opens the line's section; a click there chooses the trace here.
    void SectionButtonClick();
    SegySectionForm* sectionForm() const { return sectionForm_; }

signals:
    // "Load" was pressed and the window has handled it, whatever the outcome;
    // the fields still hold the choice that was tried.
    void loadPressed();

private:
    QPlainTextEdit* SummaryText = nullptr;
    QComboBox* ChoiceBox = nullptr;
    QLineEdit* NumberEdit = nullptr;
    QLineEdit* NearXEdit = nullptr;
    QLineEdit* NearYEdit = nullptr;
    QComboBox* ChannelBox = nullptr;
    QLabel* ChosenLabel = nullptr;
    QSpinBox* StackSpin = nullptr;
    QLineEdit* IntervalEdit = nullptr;
    QComboBox* SeaFloorBox = nullptr;
    QLineEdit* SeaFloorEdit = nullptr;
    QLabel* PickLabel = nullptr;
    QComboBox* LengthBox = nullptr;
    QLineEdit* LengthEdit = nullptr;
    QPushButton* LoadTraceButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* SectionButton = nullptr;

    void build();
    void showChoice();

    ErrorReporter& errors_;
    std::unique_ptr<SegyReader> reader_;
    LengthSpans spans_;
    std::string headerInterval_;
    LoadHandler onLoad_;
    std::filesystem::path path_;
    SeriesData synthetic_;
    std::optional<double> syntheticZeroMs_;
    std::optional<CorePosition> corePosition_;
    SegySectionForm* sectionForm_ = nullptr;
};

} // namespace quarvel
