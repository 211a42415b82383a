// Every file question of the windows is a question of its own, so that each
// starts in the folder last used for it and not for another.
#include "calibration/core_photo_form.h"
#include "chirp/chirp_form.h"
#include "editor/tables_form.h"
#include "main_window/main_form.h"
#include "platform/dialogs.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QSet>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using testing::AppFixture;

class FileQuestions : public AppFixture {};

TEST_F(FileQuestions, EachQuestionHasAFolderOfItsOwn) {
    const struct {
        QWidget* window;
        const char* action;
        int page; // the data editor's page, -1 elsewhere
        bool save;
    } questions[] = {
        {forms().MainForm, "LoadCorePhoto1", -1, false},
        {forms().Core_Photo_Form, "LoadBoundaries1", -1, false},
        {forms().Core_Photo_Form, "SaveBoundaries1", -1, true},
        {forms().Chirp_Form, "Load1", -1, false},
        {forms().Chirp_Form, "Save1", -1, true},
        {forms().Tables_Form, "Load1", TTables_Form::LogsPage, false},
        {forms().Tables_Form, "Load1", TTables_Form::SyntheticPage, false},
        {forms().Tables_Form, "Load1", TTables_Form::TracePage, false},
        {forms().Tables_Form, "SaveAs1", TTables_Form::LogsPage, true},
        {forms().Tables_Form, "SaveAs1", TTables_Form::SyntheticPage, true},
        {forms().Tables_Form, "SaveAs1", TTables_Form::TracePage, true},
    };
    QSet<QString> keys;
    for (const auto& q : questions) {
        SCOPED_TRACE(q.window->objectName().toStdString() + " " + q.action);
        if (q.page >= 0) {
            forms().Tables_Form->showPage(static_cast<TTables_Form::Page>(q.page));
        }
        if (q.save) {
            dialogs.expectSaveFile(std::nullopt);
        } else {
            dialogs.expectOpenFile(std::nullopt);
        }
        child<QAction>(q.window, q.action)->trigger();
        ASSERT_FALSE(dialogs.fileQuestions().empty());
        const FileDialogRequest& asked = dialogs.fileQuestions().back();
        EXPECT_FALSE(asked.question.isEmpty());
        const QString key = questionKey(asked, q.save);
        EXPECT_FALSE(keys.contains(key)) << key.toStdString() << " asked twice";
        keys.insert(key);
    }
    EXPECT_EQ(dialogs.fileQuestions().size(), std::size(questions));
}

} // namespace
} // namespace quarvel
