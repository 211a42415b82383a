#pragma once

#include "platform/recent_folders.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QMessageBox;
class QSettings;

namespace quarvel {

// A file dialog's settings. The filter is caption and patterns separated by
// "|" ("Bitmap Files|*.BMP"; empty for none), one string for every dialog
// however it is shown; the default extension is added to a typed name
// without one.
struct FileDialogRequest {
    QString title;
    QString filter;
    QString defaultExtension;
    // What the file is for ("core photograph", "log"): each question starts
    // in the folder last used for the same question.
    QString question = {};
};

// Every question the windows ask the user goes through here, so tests can
// answer them from a script. Windows never open Qt's dialogs themselves.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen file name, or nothing when cancelled.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // The chosen font, or nothing when cancelled.
    virtual std::optional<QFont> chooseFont(const QFont& current) = 0;
    // One of the choices (its index), or nothing when cancelled.
    virtual std::optional<int> chooseItem(const QString& title, const QString& label,
                                          const QStringList& items, int current) = 0;
    // A message the user acknowledges.
    virtual void showMessage(const QString& text) = 0;
    // A warning the user acknowledges: something in what they gave is wrong
    // or was left out. Shown with the warning icon.
    virtual void showWarning(const QString& text) = 0;
    // An error the user acknowledges, shown as a warning.
    virtual void showError(const QString& text) = 0;
    // A question answered yes (true) or no.
    virtual bool askYesNo(const QString& question) = 0;
    // Changes that would be lost: saved first, or thrown away; nothing is
    // "Cancel".
    enum class Unsaved { Save, Discard };
    virtual std::optional<Unsaved> askSaveChanges(const QString& question) = 0;
    // A window of questions of our own, shown until it is accepted (true) or
    // cancelled.
    virtual bool runDialog(QDialog& dialog) = 0;
};

// Qt's own dialogs. The file questions start in the folder last used for
// each, remembered in the settings across runs.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QSettings& settings) : folders_(settings) {}

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
    RecentFolders folders_;
};

// Which question a request is: its own name, or its title and filter when it
// has none; opening and saving are different questions.
QString questionKey(const FileDialogRequest& request, bool save);

// The title of the program's message boxes.
inline constexpr const char* MessageTitle = "Quarvel";

// The box showMessage (false) or showWarning and showError (true) bring up,
// not yet shown.
std::unique_ptr<QMessageBox> messageBox(const QString& text, bool warning);

// "Bitmap Files|*.BMP" as Qt's "Bitmap Files (*.BMP *.bmp)".
QString qtFilterFromPairs(const QString& filter);

// The file name with ".extension" added when it has no extension of its own.
QString withDefaultExtension(const QString& fileName, const QString& extension);

// The file to open for a typed name: with the default extension when the
// name has none and a file of that name with the extension (in any letter
// case) exists; otherwise the name as typed.
QString openFileName(const QString& typed, const QString& extension);

// The file dialog of a save question, started at a folder or file name; it
// answers the name chosen, or an empty one for Cancel.
using SaveNameQuestion = std::function<QString(const QString& start)>;

// The file to save to: the default extension is added to a name without one,
// and when that file exists the user is asked whether to replace it; "No"
// opens the file dialog again at that name, so another can be chosen.
// Nothing when the file dialog is cancelled.
std::optional<QString> chooseSaveFile(const SaveNameQuestion& ask, const QString& start,
                                      const QString& extension, Dialogs& dialogs);

} // namespace quarvel
