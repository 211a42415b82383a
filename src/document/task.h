#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace quarvel {

// Thrown by TaskProgress::checkCancelled: the work stops where it stands.
class TaskCancelled : public std::runtime_error {
public:
    TaskCancelled() : std::runtime_error("cancelled") {}
};

// What a task's work is handed on its worker thread: where it tells how far
// it got, and where it learns that the user no longer wants the result.
// Everything here may be called from the worker; nothing touches a window.
class TaskProgress {
public:
    // The share done (0 to 1) and what is being done now.
    using Report = std::function<void(double share, const QString& step)>;

    TaskProgress(Report report, std::shared_ptr<std::atomic<bool>> cancelRequested)
        : report_(std::move(report)), cancelRequested_(std::move(cancelRequested)) {}

    void report(double share, const QString& step = {}) const { report_(share, step); }
    bool cancelRequested() const { return cancelRequested_->load(); }
    // Throws TaskCancelled once the task has been cancelled.
    void checkCancelled() const;

private:
    Report report_;
    std::shared_ptr<std::atomic<bool>> cancelRequested_;
};

// Runs one piece of long work at a time on a worker thread and reports on
// the thread the task lives on (the user interface's): progress while it
// runs, then exactly one of finished, failed or cancelled. The work must not
// touch the document or a window; it gets its inputs captured by value and
// hands back its result. Destroying a running task cancels it and waits for
// its worker.
//
// The worker calls nothing of Qt's: it leaves its reports and its end in a
// mailbox under a standard mutex, which the task's thread empties on a short
// timer. Every hand-over between the threads is then one ThreadSanitizer
// sees; a queued call would synchronise inside Qt, which it cannot see.
class TaskRunner : public QObject {
    Q_OBJECT
public:
    explicit TaskRunner(QObject* parent = nullptr);
    ~TaskRunner() override;

    bool running() const { return worker_.joinable(); }
    // Asks the running work to stop; it ends with cancelled() when it does.
    void cancel();

signals:
    void progress(double share, const QString& step);
    void finished();
    void failed(const QString& message);
    void cancelled();

protected:
    // Cancels a running work and waits for its worker to end; what it would
    // have reported is dropped.
    void stopAndWait();
    // Throws QuarvelError while a work runs: one at a time.
    void refuseWhileRunning() const;
    // Starts the work on a worker thread.
    void run(std::function<void(TaskProgress&)> work);

private:
    enum class Outcome { Finished, Failed, Cancelled };
    // What the worker has told since the task's thread last looked.
    struct Mail {
        std::vector<std::pair<double, QString>> reports;
        std::optional<std::pair<Outcome, QString>> end;
    };
    // On the task's thread: hands on what the worker told, in order.
    void collect();

    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancelRequested_;
    std::mutex mailLock_;
    Mail mail_;
    QTimer poll_;
};

// A task whose work hands back a Result, kept for the receiver of finished().
template <class Result> class Task : public TaskRunner {
public:
    using TaskRunner::TaskRunner;
    // The worker writes the result: it must be gone before the result is.
    ~Task() override { stopAndWait(); }

    void start(std::function<Result(TaskProgress&)> work) {
        refuseWhileRunning();
        result_.reset();
        run([this, work = std::move(work)](TaskProgress& progress) {
            // Read only after finished(), which the worker's end precedes.
            result_.emplace(work(progress));
        });
    }

    // The result of the work that last finished.
    const std::optional<Result>& result() const { return result_; }

private:
    std::optional<Result> result_;
};

} // namespace quarvel
