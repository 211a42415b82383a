#include "document/task.h"

#include "formats/quarvel_error.h"

#include <exception>

namespace quarvel {

void TaskProgress::checkCancelled() const {
    if (cancelRequested()) {
        throw TaskCancelled();
    }
}

TaskRunner::~TaskRunner() {
    stopAndWait();
}

void TaskRunner::stopAndWait() {
    if (worker_.joinable()) {
        cancelRequested_->store(true);
        worker_.join();
    }
}

void TaskRunner::cancel() {
    if (cancelRequested_) {
        cancelRequested_->store(true);
    }
}

void TaskRunner::refuseWhileRunning() const {
    if (running()) {
        throw QuarvelError("The last piece of work has not ended yet. Wait for it, or cancel it.",
                           ErrorKind::Busy);
    }
}

void TaskRunner::run(std::function<void(TaskProgress&)> work) {
    refuseWhileRunning();
    cancelRequested_ = std::make_shared<std::atomic<bool>>(false);
    // Reports cross to this object's thread as queued calls; any still queued
    // when the task is destroyed are dropped with it.
    TaskProgress::Report report = [this](double share, const QString& step) {
        QMetaObject::invokeMethod(
            this, [this, share, step] { emit progress(share, step); }, Qt::QueuedConnection);
    };
    worker_ = std::thread([this, work = std::move(work),
                           progress = TaskProgress(std::move(report), cancelRequested_)]() mutable {
        Outcome outcome = Outcome::Finished;
        QString message;
        try {
            work(progress);
        } catch (const TaskCancelled&) {
            outcome = Outcome::Cancelled;
        } catch (const std::exception& e) {
            outcome = Outcome::Failed;
            message = QString::fromStdString(e.what());
        } catch (...) {
            outcome = Outcome::Failed;
            message = QStringLiteral("The work stopped on an unknown error.");
        }
        // A result nobody wants any more is not offered, and neither is an
        // error the cancelling may have caused.
        if (progress.cancelRequested()) {
            outcome = Outcome::Cancelled;
        }
        QMetaObject::invokeMethod(
            this, [this, outcome, message] { end(outcome, message); }, Qt::QueuedConnection);
    });
}

void TaskRunner::end(Outcome outcome, const QString& message) {
    // The worker posted this as its last act; it ends at once.
    worker_.join();
    switch (outcome) {
    case Outcome::Finished:
        emit finished();
        break;
    case Outcome::Failed:
        emit failed(message);
        break;
    case Outcome::Cancelled:
        emit cancelled();
        break;
    }
}

} // namespace quarvel
