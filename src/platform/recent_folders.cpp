#include "platform/recent_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace quarvel {

namespace {

// One settings key per question; its name may hold any character.
QString settingsKey(const QString& key) {
    return QStringLiteral("folders/") + QString::fromLatin1(QUrl::toPercentEncoding(key));
}

} // namespace

QString RecentFolders::startFolder(const QString& key) const {
    const QString folder = settings_.value(settingsKey(key)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        return {};
    }
    return folder;
}

void RecentFolders::remember(const QString& key, const QString& chosenFile) {
    settings_.setValue(settingsKey(key), QFileInfo(chosenFile).absolutePath());
}

} // namespace quarvel
