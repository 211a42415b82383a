#include "platform/error_reporter.h"

#include "platform/dialogs.h"
#include "platform/work_dir.h"

#include <optional>

namespace quarvel {
namespace {

// Commands run on the windows' thread only, one inside another at most.
std::optional<WorkDir> commandDir;
std::optional<WorkDirLock> heldDir;
int commandDepth = 0;

} // namespace

CommandWorkDir::CommandWorkDir(const WorkDir& dir) {
    commandDir.emplace(dir);
}

CommandWorkDir::~CommandWorkDir() {
    commandDir.reset();
}

CommandScope::CommandScope() {
    if (commandDepth == 0 && commandDir) {
        heldDir.emplace(*commandDir, WhenBusy::Refuse);
    }
    ++commandDepth;
}

CommandScope::~CommandScope() {
    if (--commandDepth == 0) {
        heldDir.reset();
    }
}

void DialogErrorReporter::report(const QString& message) {
    dialogs_.showError(message);
}

} // namespace quarvel
