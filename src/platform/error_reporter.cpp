#include "platform/error_reporter.h"

#include "platform/dialogs.h"

namespace quarvel {

void DialogErrorReporter::report(const QString& message) {
    dialogs_.showError(message);
}

} // namespace quarvel
