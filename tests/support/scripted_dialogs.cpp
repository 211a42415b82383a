#include "support/scripted_dialogs.h"

#include <QDialog>
#include <gtest/gtest.h>
#include <utility>

namespace quarvel::testing {
namespace {

const char* kindName(int kind) {
    static const char* const names[] = {"open file",    "save file", "font",  "item",
                                        "message",      "warning",   "error", "yes/no",
                                        "save changes", "dialog"};
    return names[kind];
}

} // namespace

ScriptedDialogs::~ScriptedDialogs() {
    expectAllAnswered();
}

void ScriptedDialogs::expectOpenFile(std::optional<QString> answer) {
    script_.push_back({Kind::OpenFile, std::move(answer), std::nullopt, std::nullopt});
}

void ScriptedDialogs::expectSaveFile(std::optional<QString> answer) {
    script_.push_back({Kind::SaveFile, std::move(answer), std::nullopt, std::nullopt});
}

void ScriptedDialogs::expectFont(std::optional<QFont> answer) {
    script_.push_back({Kind::Font, std::nullopt, std::move(answer), std::nullopt});
}

void ScriptedDialogs::expectItem(std::optional<int> answer) {
    script_.push_back({Kind::Item, std::nullopt, std::nullopt, answer});
}

void ScriptedDialogs::expectMessage(const QString& text) {
    script_.push_back({Kind::Message, text, std::nullopt, std::nullopt});
}

void ScriptedDialogs::expectWarning(const QString& text) {
    script_.push_back({Kind::Warning, text, std::nullopt, std::nullopt});
}

void ScriptedDialogs::expectError(const QString& text) {
    script_.push_back({Kind::Error, text, std::nullopt, std::nullopt});
}

void ScriptedDialogs::expectQuestion(const QString& question, bool answer) {
    script_.push_back({Kind::Question, question, std::nullopt, answer ? 1 : 0});
}

void ScriptedDialogs::expectSaveChanges(const QString& question, std::optional<Unsaved> answer) {
    script_.push_back({Kind::Unsaved, question, std::nullopt,
                       answer ? std::optional(static_cast<int>(*answer)) : std::nullopt});
}

void ScriptedDialogs::expectDialog(std::function<bool(QDialog&)> answer) {
    script_.push_back({Kind::Dialog, std::nullopt, std::nullopt, std::nullopt, std::move(answer)});
}

void ScriptedDialogs::expectAllAnswered() {
    for (const Answer& answer : script_) {
        ADD_FAILURE() << "The " << kindName(static_cast<int>(answer.kind))
                      << " question scripted was never asked"
                      << (answer.text ? " (" + answer.text->toStdString() + ")" : std::string());
    }
    script_.clear();
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(Kind kind, const QString& question) {
    if (script_.empty()) {
        ADD_FAILURE() << "Unexpected " << kindName(static_cast<int>(kind))
                      << " question: " << question.toStdString();
        return std::nullopt;
    }
    if (script_.front().kind != kind) {
        ADD_FAILURE() << "Expected a " << kindName(static_cast<int>(script_.front().kind))
                      << " question, got a " << kindName(static_cast<int>(kind))
                      << " question: " << question.toStdString();
        // The script is out of step: drop the answer so the rest of it is
        // not blamed as well.
        script_.pop_front();
        return std::nullopt;
    }
    Answer answer = std::move(script_.front());
    script_.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    fileQuestions_.push_back(request);
    const auto answer = take(Kind::OpenFile, request.title);
    return answer ? answer->text : std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    fileQuestions_.push_back(request);
    const auto answer = take(Kind::SaveFile, request.title);
    return answer ? answer->text : std::nullopt;
}

std::optional<QFont> ScriptedDialogs::chooseFont(const QFont& current) {
    const auto answer = take(Kind::Font, current.toString());
    return answer ? answer->font : std::nullopt;
}

std::optional<int> ScriptedDialogs::chooseItem(const QString& title, const QString& label,
                                               const QStringList& items, int /*current*/) {
    messages_.push_back(title + QStringLiteral(": ") + label);
    const auto answer = take(Kind::Item, messages_.back());
    if (answer && answer->item && (*answer->item < 0 || *answer->item >= items.size())) {
        ADD_FAILURE() << "Scripted item " << *answer->item << " is not one of the " << items.size()
                      << " choices";
        return std::nullopt;
    }
    return answer ? answer->item : std::nullopt;
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::takeText(Kind kind, const QString& text) {
    auto answer = take(kind, text);
    if (answer && answer->text != text) {
        ADD_FAILURE() << "Expected the " << kindName(static_cast<int>(kind)) << " \""
                      << answer->text->toStdString() << "\", got \"" << text.toStdString() << "\"";
        return std::nullopt;
    }
    return answer;
}

void ScriptedDialogs::showMessage(const QString& text) {
    messages_.push_back(text);
    takeText(Kind::Message, text);
}

void ScriptedDialogs::showWarning(const QString& text) {
    messages_.push_back(text);
    takeText(Kind::Warning, text);
}

void ScriptedDialogs::showError(const QString& text) {
    messages_.push_back(text);
    takeText(Kind::Error, text);
}

bool ScriptedDialogs::askYesNo(const QString& question) {
    messages_.push_back(question);
    const auto answer = takeText(Kind::Question, question);
    return answer && answer->item == 1;
}

std::optional<Dialogs::Unsaved> ScriptedDialogs::askSaveChanges(const QString& question) {
    messages_.push_back(question);
    const auto answer = takeText(Kind::Unsaved, question);
    if (!answer || !answer->item) {
        return std::nullopt;
    }
    return static_cast<Unsaved>(*answer->item);
}

bool ScriptedDialogs::runDialog(QDialog& dialog) {
    messages_.push_back(dialog.windowTitle());
    const auto answer = take(Kind::Dialog, dialog.windowTitle());
    if (!answer) {
        return false;
    }
    dialog.show();
    const bool accepted = answer->dialog(dialog);
    dialog.hide();
    return accepted;
}

} // namespace quarvel::testing
