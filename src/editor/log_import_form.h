#pragma once

#include "survey/log_import_preview.h"
#include "survey/log_import_questions.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

namespace quarvel {

class ImagePanel;

// "Import Log": every choice of a LAS or table import in one window, named
// after the file: the column and unit of depth, velocity and density, the
// cleaning rules with what each removes, the file's first rows, and the log
// the choices make drawn against depth with what the import will say of it.
// Each change redraws what follows from it; why a reopened session asks
// again comes first.
class LogImportForm : public QDialog {
    Q_OBJECT
public:
    LogImportForm(const std::string& fileName, const ColumnTable& table, const ImportStart& start,
                  const std::vector<std::string>& reasons, QWidget* parent = nullptr);

    // The choices as they stand.
    const ColumnChoice& columns() const { return columns_; }
    const CleaningRules& rules() const { return preview_.rules; }

private:
    void buildRoles(QWidget* parent);
    void buildCleaning(QWidget* parent);
    void buildPreviewTable();
    void columnChanged(LogRole role);
    void choicesChanged();
    void showCleaningOptions();
    void drawPlots();

    std::string fileName_;
    const ColumnTable& table_;
    ColumnChoice columns_;
    ImportPreview preview_;
    QComboBox* columnBoxes_[3] = {};
    QComboBox* unitBoxes_[3] = {};
    QComboBox* amplitudeBox = nullptr;
    QComboBox* rangeBox = nullptr;
    QTableWidget* previewTable = nullptr;
    ImagePanel* velocityPlot = nullptr;
    ImagePanel* densityPlot = nullptr;
    QLabel* countsLabel = nullptr;
};

} // namespace quarvel
