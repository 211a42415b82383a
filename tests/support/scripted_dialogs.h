#pragma once

#include "platform/dialogs.h"

#include <QFont>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace quarvel::testing {

// Answers the windows' questions from a script, in order. A question the
// script does not expect next, or a message other than the expected text,
// fails the test; so does an answer left unused when the object goes away.
class ScriptedDialogs : public Dialogs {
public:
    ~ScriptedDialogs() override;

    // std::nullopt answers "Cancel".
    void expectOpenFile(std::optional<QString> answer);
    void expectSaveFile(std::optional<QString> answer);
    void expectFont(std::optional<QFont> answer);
    void expectItem(std::optional<int> answer);
    void expectMessage(const QString& text);
    void expectWarning(const QString& text);
    void expectError(const QString& text);
    // A yes/no question with exactly this text, answered so.
    void expectQuestion(const QString& question, bool answer);
    // The question whether to save changes, with exactly this text.
    void expectSaveChanges(const QString& question, std::optional<Unsaved> answer);
    // A window of questions: `answer` works it while it is shown and says
    // whether it is accepted.
    void expectDialog(std::function<bool(QDialog&)> answer);

    // Fails the test for every scripted answer not yet asked for, then
    // forgets them.
    void expectAllAnswered();
    bool allAnswered() const { return script_.empty(); }

    // What was asked, in order: the file questions, and the texts of the
    // other questions (a choice as "title: label") and of what was told.
    const std::vector<FileDialogRequest>& fileQuestions() const { return fileQuestions_; }
    const std::vector<QString>& messages() const { return messages_; }

    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QFont> chooseFont(const QFont& current) override;
    std::optional<int> chooseItem(const QString& title, const QString& label,
                                  const QStringList& items, int current) override;
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    void showError(const QString& text) override;
    bool askYesNo(const QString& question) override;
    std::optional<Unsaved> askSaveChanges(const QString& question) override;
    bool runDialog(QDialog& dialog) override;

private:
    enum class Kind {
        OpenFile,
        SaveFile,
        Font,
        Item,
        Message,
        Warning,
        Error,
        Question,
        Unsaved,
        Dialog
    };
    struct Answer {
        Kind kind;
        std::optional<QString> text;
        std::optional<QFont> font;
        std::optional<int> item;
        std::function<bool(QDialog&)> dialog = {};
    };

    // The next answer when it is of that kind; otherwise fails the test.
    std::optional<Answer> take(Kind kind, const QString& question);
    // Takes the next answer and checks that it was scripted for this text.
    std::optional<Answer> takeText(Kind kind, const QString& text);

    std::deque<Answer> script_;
    std::vector<FileDialogRequest> fileQuestions_;
    std::vector<QString> messages_;
};

} // namespace quarvel::testing
