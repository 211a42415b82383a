#pragma once

#include <QString>
#include <QStringList>

namespace quarvel {

class AppWindows;
class DemoDialogs;
struct Session;

// Opens a session by running the commands a user would, in the order of a
// typical run: the photograph (its boundary file or calibration texts), the
// log in the data editor with "Interpolate Series" when it ran, the chirp
// texts and "GO", "Calc. Synthetic", the trace, then the windows' texts, the
// annotation font, the check boxes and "Correlator". The dialogs answer the
// commands' file questions with the session's files. A file that is missing
// or cannot be read skips its own step (and the steps built on it) while the
// rest loads; the returned lines name each one, for one message at the end.
// Errors of the commands themselves go to the windows' error reporter.
QStringList replaySession(AppWindows& windows, DemoDialogs& dialogs, const Session& session);

// The one message told when a session has reopened: what it could not load,
// then what its commands had to tell on the way.
QString replayMessage(const QString& sessionPath, const QStringList& problems,
                      const QStringList& notices);

} // namespace quarvel
