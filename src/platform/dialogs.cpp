#include "platform/dialogs.h"

#include <QApplication>
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

QString qtFilterFromClassic(const QString& classic) {
    const QStringList parts = classic.split(QLatin1Char('|'));
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

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request) {
    const QString name = QFileDialog::getOpenFileName(dialogParent(), request.title, QString(),
                                                      qtFilterFromClassic(request.filter));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    // A typed name without its extension means the file with it, unless a
    // file of exactly that name exists.
    if (!QFileInfo::exists(name)) {
        return withDefaultExtension(name, request.defaultExtension);
    }
    return name;
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request) {
    const QString name = QFileDialog::getSaveFileName(dialogParent(), request.title, QString(),
                                                      qtFilterFromClassic(request.filter));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return withDefaultExtension(name, request.defaultExtension);
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

void QtDialogs::showMessage(const QString& text) {
    QMessageBox::information(dialogParent(), QApplication::applicationDisplayName(), text);
}

} // namespace quarvel
