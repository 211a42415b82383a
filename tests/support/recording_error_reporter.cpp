#include "support/recording_error_reporter.h"

#include <gtest/gtest.h>

namespace quarvel::testing {

RecordingErrorReporter::~RecordingErrorReporter() {
    expectAllReported();
}

void RecordingErrorReporter::expectError(const QString& message) {
    expected_.push_back(message);
}

void RecordingErrorReporter::expectAllReported() {
    for (const QString& message : expected_) {
        ADD_FAILURE() << "The error \"" << message.toStdString() << "\" was never reported";
    }
    expected_.clear();
}

void RecordingErrorReporter::report(const QString& message) {
    messages_.push_back(message);
    if (expected_.empty()) {
        ADD_FAILURE() << "Unexpected error reported: " << message.toStdString();
        return;
    }
    if (expected_.front() != message) {
        ADD_FAILURE() << "Expected the error \"" << expected_.front().toStdString() << "\", got \""
                      << message.toStdString() << "\"";
    }
    expected_.pop_front();
}

} // namespace quarvel::testing
