#pragma once

#include "platform/error_reporter.h"

#include <QString>
#include <deque>
#include <vector>

namespace quarvel::testing {

// Records the errors the commands report. Any error the test did not
// announce with expectError fails the test, and so does an announced error
// that never came by the time the object goes away.
class RecordingErrorReporter : public ErrorReporter {
public:
    ~RecordingErrorReporter() override;

    // The next error reported must have exactly this text.
    void expectError(const QString& message);
    // Fails the test for every announced error not yet reported, then
    // forgets them.
    void expectAllReported();

    void report(const QString& message) override;

    // Every error reported, expected or not, in order.
    const std::vector<QString>& messages() const { return messages_; }

private:
    std::deque<QString> expected_;
    std::vector<QString> messages_;
};

} // namespace quarvel::testing
