#pragma once

#include <QString>

class QSettings;

namespace quarvel {

// The folder each file question was last answered in, kept in the settings
// so that the next asking, in this run or a later one, starts there.
class RecentFolders {
public:
    explicit RecentFolders(QSettings& settings) : settings_(settings) {}

    // Where the question starts: the folder last used for it while that
    // folder still exists, else nothing (the dialog's own choice).
    QString startFolder(const QString& key) const;
    // The folder of the file chosen for the question.
    void remember(const QString& key, const QString& chosenFile);

private:
    QSettings& settings_;
};

} // namespace quarvel
