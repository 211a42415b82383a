#pragma once

#include "main_window/forms.h"

#include <QMainWindow>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QFrame;
class QPlainTextEdit;
class QTableView;
class QTabWidget;
class QToolButton;

namespace quarvel {

class SegyTraceForm;
class Workspace;

// "Data Editor": the log grid and the synthetic and trace listings, and the
// working files made from them. The log grid is a view of the document's log
// (row 0 the headings, shown as the table's column headings; rows 1 ... as
// the table's rows, numbered alike); its commands are the log model's.
// The class spans two files: tables_form.cpp (layout and the log grid) and
// tables_form_listings.cpp (the synthetic and trace listings, SEG-Y lines, and
// the Load, Save and Save as commands that act on the page shown).
class TTables_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TTables_Form(Services& services);

    // Pages of PageControl1, in order.
    enum Page { LogsPage = 0, SyntheticPage = 1, TracePage = 2 };

    // The page shown, and another one brought to the front.
    Page currentPage() const;
    void showPage(Page page);
    // The buttons the tests click.
    QToolButton* loadButton() const { return LoadButton; }
    QToolButton* interpolateButton() const { return SpeedButton1; }
    QToolButton* logsRefreshButton() const { return LogsRefreshButton; }
    // Where a SEG-Y line's trace is chosen (Load on the "Trace" page).
    SegyTraceForm* segyForm() const { return SegyForm; }

    // Replaces the synthetic listing with the text of the working "ampl.dat";
    // done whenever the engine has written a new one.
    void reloadSyntheticListing();

    // Commands; Load, Save and Save as act on the active page.
    void Load1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void ClearButtonClick();
    void LogsRefreshButtonClick();
    void SyntheticRefreshButtonClick();
    void TraceRefreshButtonClick();
    void SpeedButton1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* Panel1 = nullptr;
    QToolButton* LoadButton = nullptr;
    QToolButton* SaveButton = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QToolButton* ClearButton = nullptr;
    QToolButton* LogsRefreshButton = nullptr;
    QToolButton* SpeedButton1 = nullptr; // "Interpolate Series"
    QToolButton* SyntheticRefreshButton = nullptr;
    QToolButton* TraceRefreshButton = nullptr;
    QTableView* loggrid = nullptr;
    QPlainTextEdit* Syntmemo = nullptr;
    QPlainTextEdit* Tracememo = nullptr;
    QAction* Load1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Exit1 = nullptr;
    SegyTraceForm* SegyForm = nullptr;

    QWidget* buildPage(const QString& name, QWidget* content);
    void buildTopPanel();
    void buildPages();
    void buildMenu();
    void connectHandlers();

    std::filesystem::path workFile(std::string_view name) const;
    std::filesystem::path chosenPath(const QString& name) const;
    void commitPendingEdit();
    void tell(const std::vector<std::string>& notices);
    void loadLogPage(const std::filesystem::path& fileName);
    void loadSegyLine(const std::filesystem::path& path);
    // The trace page shows the listing the workspace has loaded.
    void showTraceListing();
    void loadListing(QPlainTextEdit* memo, const std::filesystem::path& fileName);
    void saveListing(const QPlainTextEdit* memo, const std::filesystem::path& fileName);
    void redrawPage(Page page);
    std::string_view listingWorkFile(Page page) const;
    QPlainTextEdit* listing(Page page) const;

    Services& services_;
    Workspace& workspace_;
};

} // namespace quarvel
