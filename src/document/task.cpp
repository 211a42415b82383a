#include "document/task.h"

#include "formats/quarvel_error.h"

#include <exception>

namespace quarvel {

void TaskProgress::checkCancelled() const {
    if (cancelRequested()) {
        throw TaskCancelled();
    }
}

namespace {
// How often the task's thread looks at the worker's mailbox: progress comes
// no later than this, and a finished work ends this much after it is done.
constexpr int PollMs = 15;
} // namespace

TaskRunner::TaskRunner(QObject* parent) : QObject(parent) {
    poll_.setInterval(PollMs);
    connect(&poll_, &QTimer::timeout, this, &TaskRunner::collect);
}

TaskRunner::~TaskRunner() {
    stopAndWait();
}

void TaskRunner::stopAndWait() {
    if (worker_.joinable()) {
        cancelRequested_->store(true);
        worker_.join();
    }
    poll_.stop();
    const std::lock_guard lock(mailLock_);
    mail_ = {};
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
    TaskProgress::Report report = [this](double share, const QString& step) {
        const std::lock_guard lock(mailLock_);
        mail_.reports.emplace_back(share, step);
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
        const std::lock_guard lock(mailLock_);
        mail_.end.emplace(outcome, message);
    });
    poll_.start();
}

void TaskRunner::collect() {
    Mail mail;
    {
        const std::lock_guard lock(mailLock_);
        std::swap(mail, mail_);
    }
    for (const auto& [share, step] : mail.reports) {
        emit progress(share, step);
    }
    if (!mail.end) {
        return;
    }
    // The worker left its end as its last act; it ends at once.
    worker_.join();
    poll_.stop();
    const auto& [outcome, message] = *mail.end;
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
