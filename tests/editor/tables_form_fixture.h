#pragma once

#include "editor/listing_file.h"
#include "editor/tables_form.h"
#include "formats/quarvel_error.h"
#include "platform/image_panel.h"
#include "support/app_fixture.h"
#include "workspace/main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <string>

namespace quarvel::testing {

// The data editor among all the windows, with helpers to drive it the way
// the user does.
class TablesFormTest : public AppFixture {
protected:
    TTables_Form& editor() const { return *forms().Tables_Form; }

    void showPage(TTables_Form::Page page) const { editor().PageControl1->setCurrentIndex(page); }

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
        editor().Load1->trigger();
        dialogs.expectAllAnswered();
    }

    void saveAs(const std::optional<QString>& answer) {
        dialogs.expectSaveFile(answer);
        editor().SaveAs1->trigger();
        dialogs.expectAllAnswered();
    }

    void loadOnPage(TTables_Form::Page page, const QString& path) {
        showPage(page);
        load(path);
    }

    void setCell(int row, int column, const QString& text) const {
        QTableWidget* grid = editor().loggrid;
        if (QTableWidgetItem* item = grid->item(row - 1, column)) {
            item->setText(text);
        } else {
            grid->setItem(row - 1, column, new QTableWidgetItem(text));
        }
    }

    QString cell(int row, int column) const {
        const QTableWidgetItem* item = editor().loggrid->item(row - 1, column);
        return item == nullptr ? QString() : item->text();
    }

    QString heading(int column) const {
        const QTableWidgetItem* item = editor().loggrid->horizontalHeaderItem(column);
        return item == nullptr ? QString() : item->text();
    }
};

} // namespace quarvel::testing
