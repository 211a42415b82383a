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
// The working files as the last command left them.
WorkingFileStamps afterLastCommand;
CommandWorkDir::ChangedOutside tellChanged;

} // namespace

CommandWorkDir::CommandWorkDir(const WorkDir& dir) {
    commandDir.emplace(dir);
    afterLastCommand = WorkingFileStamps::take(dir);
}

CommandWorkDir::~CommandWorkDir() {
    commandDir.reset();
    tellChanged = nullptr;
}

void CommandWorkDir::tellChangesOutside(ChangedOutside changedOutside) {
    tellChanged = std::move(changedOutside);
}

CommandScope::CommandScope() {
    if (commandDepth == 0 && commandDir) {
        heldDir.emplace(*commandDir, WhenBusy::Refuse);
        const auto changed = WorkingFileStamps::take(*commandDir).changedSince(afterLastCommand);
        if (!changed.empty() && tellChanged) {
            tellChanged(changed);
        }
    }
    ++commandDepth;
}

CommandScope::~CommandScope() {
    if (--commandDepth == 0 && commandDir) {
        afterLastCommand = WorkingFileStamps::take(*commandDir);
        heldDir.reset();
    }
}

void DialogErrorReporter::report(const QString& message) {
    dialogs_.showError(message);
}

} // namespace quarvel
