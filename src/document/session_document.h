#pragma once

#include "session/session.h"

#include <QStringList>

namespace quarvel {

class LogImportQuestions;
class Workspace;

// The document as a session file keeps it: its files, the answers and
// choices they were read with, its settings and its tie points.
Session snapshotSession(const Workspace& workspace);

// Makes the document again from a session, with or without windows (the
// windows show it because they listen to the document): it starts over,
// then loads the session's files and takes its settings in the order a user
// would. Import questions the session holds no answer for go to
// `unanswered`. A file that is missing or a step that fails is named in the
// returned lines and skips what is built on it, while the rest loads; what
// the steps have to tell besides goes out as the workspace's notices.
QStringList restoreSession(Workspace& workspace, const Session& session,
                           LogImportQuestions& unanswered);

} // namespace quarvel
