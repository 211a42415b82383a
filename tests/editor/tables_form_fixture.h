#pragma once

#include "editor/listing_file.h"
#include "editor/tables_form.h"
#include "formats/quarvel_error.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "support/app_fixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <string>

namespace quarvel::testing {

// The data editor among all the windows, with helpers to drive it the way
// the user does.
class TablesFormTest : public AppFixture {
protected:
    TTables_Form& editor() const { return *forms().Tables_Form; }

    void showPage(TTables_Form::Page page) const { editor().showPage(page); }

    // The editor's widgets, found by their names.
    QTableView* grid() const { return child<QTableView>(&editor(), "loggrid"); }
    QAbstractItemModel* gridModel() const { return grid()->model(); }
    QPlainTextEdit* syntmemo() const { return child<QPlainTextEdit>(&editor(), "Syntmemo"); }
    QPlainTextEdit* tracememo() const { return child<QPlainTextEdit>(&editor(), "Tracememo"); }
    QTabWidget* pages() const { return child<QTabWidget>(&editor(), "PageControl1"); }
    QToolButton* button(const char* name) const { return child<QToolButton>(&editor(), name); }
    QAction* action(const char* name) const { return child<QAction>(&editor(), name); }

    // A file the user picks, outside the working directory's fixed names.
    QString userFile(const std::string& name, const std::string& bytes) const {
        workDir.write(name, bytes);
        return QString::fromStdString(workDir.file(name).string());
    }

    QString missingFile() const {
        return QString::fromStdString(workDir.file("no such file.txt").string());
    }

    static QString cannotOpen(const QString& path, const std::string& reason) {
        return QString::fromStdString(
            formatMessage(msg::CannotOpenFile, {path.toStdString(), reason}));
    }

    void load(const std::optional<QString>& answer) {
        dialogs.expectOpenFile(answer);
        action("Load1")->trigger();
        dialogs.expectAllAnswered();
    }

    void saveAs(const std::optional<QString>& answer) {
        dialogs.expectSaveFile(answer);
        action("SaveAs1")->trigger();
        dialogs.expectAllAnswered();
    }

    void loadOnPage(TTables_Form::Page page, const QString& path) {
        showPage(page);
        load(path);
    }

    void setCell(int row, int column, const QString& text) const {
        gridModel()->setData(gridModel()->index(row - 1, column), text);
    }

    QString cell(int row, int column) const {
        return gridModel()->index(row - 1, column).data().toString();
    }

    QString heading(int column) const {
        return gridModel()->headerData(column, Qt::Horizontal).toString();
    }
};

} // namespace quarvel::testing
