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

void CommandWorkDir::lookForChanges() {
    try {
        const CommandScope scope;
    } catch (const QuarvelError&) {
        // Another program's command holds the folder: the next command looks.
    }
}

CommandScope::CommandScope() {
    if (commandDepth > 0 || !commandDir) {
        ++commandDepth;
        return;
    }
    heldDir.emplace(*commandDir, WhenBusy::Refuse);
    // Counted before the telling: what runs while a question is open holds
    // nothing more, and the changes are told once.
    ++commandDepth;
    const WorkingFileStamps now = WorkingFileStamps::take(*commandDir);
    const auto changed = now.changedSince(afterLastCommand);
    afterLastCommand = now;
    if (!changed.empty() && tellChanged) {
        try {
            tellChanged(changed);
        } catch (...) {
            --commandDepth;
            heldDir.reset();
            throw;
        }
    }
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
