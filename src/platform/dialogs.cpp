#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace quarvel {
namespace {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

} // namespace

QString qtFilterFromPairs(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            // File names on this system are case-sensitive; "*.BMP" must also
            // find "core.bmp".
            for (const QString& variant :
                 {pattern.trimmed(), pattern.trimmed().toLower(), pattern.trimmed().toUpper()}) {
                if (!variant.isEmpty() && !patterns.contains(variant)) {
                    patterns.append(variant);
                }
            }
        }
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString withDefaultExtension(const QString& fileName, const QString& extension) {
    if (extension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) {
        return fileName;
    }
    return fileName + QLatin1Char('.') + extension;
}

QString openFileName(const QString& typed, const QString& extension) {
    if (extension.isEmpty() || !QFileInfo(typed).suffix().isEmpty()) {
        return typed;
    }
    for (const QString& variant : {extension, extension.toUpper(), extension.toLower()}) {
        const QString candidate = typed + QLatin1Char('.') + variant;
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return typed;
}

std::optional<QString> chooseSaveFile(const SaveNameQuestion& ask, const QString& start,
                                      const QString& extension, Dialogs& dialogs) {
    QString from = start;
    for (;;) {
        const QString typed = ask(from);
        if (typed.isEmpty()) {
            return std::nullopt;
        }
        const QString name = withDefaultExtension(typed, extension);
        if (!QFileInfo::exists(name) ||
            dialogs.askYesNo(QFileInfo(name).fileName() +
                             QStringLiteral(" already exists.\nDo you want to replace it?"))) {
            return name;
        }
        from = name;
    }
}

QString questionKey(const FileDialogRequest& request, bool save) {
    const QString name = request.question.isEmpty()
                             ? request.title + QLatin1Char('|') + request.filter
                             : request.question;
    return (save ? QStringLiteral("save ") : QStringLiteral("open ")) + name;
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request) {
    // Any typed name is taken, so that one without its extension can stand
    // for the file with it.
    const QString key = questionKey(request, false);
    QFileDialog dialog(dialogParent(), request.title, folders_.startFolder(key),
                       qtFilterFromPairs(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() ||
        dialog.selectedFiles().first().isEmpty()) {
        return std::nullopt;
    }
    folders_.remember(key, dialog.selectedFiles().first());
    return openFileName(dialog.selectedFiles().first(), request.defaultExtension);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request) {
    // The question about replacing a file comes after the default extension
    // is added, so it is asked whether the extension was typed or not.
    const QString key = questionKey(request, true);
    const auto ask = [&](const QString& start) {
        const QString name = QFileDialog::getSaveFileName(
            dialogParent(), request.title, start, qtFilterFromPairs(request.filter), nullptr,
            QFileDialog::DontConfirmOverwrite);
        if (!name.isEmpty()) {
            folders_.remember(key, name);
        }
        return name;
    };
    return chooseSaveFile(ask, folders_.startFolder(key), request.defaultExtension, *this);
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& current) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, current, dialogParent());
    if (!ok) {
        return std::nullopt;
    }
    return font;
}

std::optional<int> QtDialogs::chooseItem(const QString& title, const QString& label,
                                         const QStringList& items, int current) {
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(dialogParent(), title, label, items, current, false, &ok);
    const qsizetype index = items.indexOf(chosen);
    if (!ok || index < 0) {
        return std::nullopt;
    }
    return static_cast<int>(index);
}

std::unique_ptr<QMessageBox> messageBox(const QString& text, bool warning) {
    return std::make_unique<QMessageBox>(warning ? QMessageBox::Warning : QMessageBox::Information,
                                         QString::fromLatin1(MessageTitle), text, QMessageBox::Ok,
                                         dialogParent());
}

void QtDialogs::showMessage(const QString& text) {
    messageBox(text, false)->exec();
}

void QtDialogs::showWarning(const QString& text) {
    messageBox(text, true)->exec();
}

void QtDialogs::showError(const QString& text) {
    messageBox(text, true)->exec();
}

bool QtDialogs::runDialog(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::askYesNo(const QString& question) {
    return QMessageBox::question(dialogParent(), QString::fromLatin1(MessageTitle), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<Dialogs::Unsaved> QtDialogs::askSaveChanges(const QString& question) {
    switch (QMessageBox::question(dialogParent(), QString::fromLatin1(MessageTitle), question,
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                  QMessageBox::Save)) {
    case QMessageBox::Save:
        return Unsaved::Save;
    case QMessageBox::Discard:
        return Unsaved::Discard;
    default:
        return std::nullopt;
    }
}

} // namespace quarvel
