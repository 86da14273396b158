#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "plot/PrimitiveList.h"

// What a job may read of its document: the records, shared read-only, so the window may go on
// painting them while the job runs. The view's mapping and the settings a job needs travel in
// the job's own captures, as values; a job never sees a live view or plot context.
using SharedRecords = std::shared_ptr<const PrimitiveList>;

// Between a job and the window's thread: the job reports how far it is and asks whether to
// stop; the window reads the report and asks it to stop. Stopping is the job's choice: a
// read stops where it asks; a save never asks, so it finishes or leaves the old file.
class JobControl {
  public:
    struct Progress {
        double fraction = 0;  // 0 to 1, or below 0 when unknown
        std::string text;
    };

    void Report(double fraction, std::string text);
    Progress Read() const;
    void Cancel() { m_cancelled.store(true); }
    bool Cancelled() const { return m_cancelled.load(); }

  private:
    mutable std::mutex m_mutex;
    Progress m_progress{-1, {}};
    std::atomic<bool> m_cancelled{false};
};

// Thrown by a job that stops where it was asked to: its outcome is cancelled, not failed.
struct JobStopped {};

// A job's end, handed back by value: its result, or what it threw.
template <class R>
struct JobOutcome {
    std::optional<R> value;
    std::exception_ptr failure;
    bool cancelled = false;  // the job was asked to stop (its value may still be there)
};

// The application's background work, Qt-free. Its rule, the one rule of all background work:
// - one job at a time per document, in the order given; jobs of different documents run
//   together, each document's on a worker of its own (so what a job shares, such as the
//   registry of temporary files in plot/SafeFile, is safe for several threads);
// - a job gets values and the document's records read-only (SharedRecords, held by the job so
//   a document closed or reloaded meanwhile cannot pull them away), never a live view or plot
//   context (a picture, print or copy paints a snapshot of its view, PlotView::Snapshot);
// - its end goes back through post, which the owner makes run on the window's thread; there
//   alone documents and views change, and only once the job has let go of what it held. So
//   while a job runs the window holds the input that could change what the job reads, and what
//   the system starts (a reload) waits until no job runs (BackgroundWork: Run, WhenIdle); the
//   windows go on painting the records the job shares read-only;
// - a job that may stop asks control.Cancelled() and stops by returning or throwing JobStopped
//   (reads, pictures, prints, copies); a save never asks;
// - no exception escapes a job: it ends in the outcome.
// Destroying the runner asks every job to stop, drops the queued ones and waits for the workers.
class JobRunner {
  public:
    using Post = std::function<void(std::function<void()>)>;
    explicit JobRunner(Post post);
    ~JobRunner();
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Queues job for document (any address that names it); done gets its outcome through post.
    template <class R>
    std::shared_ptr<JobControl> Submit(const void* document, std::function<R(JobControl&)> job,
                                       std::function<void(JobOutcome<R>)> done) {
        auto control = std::make_shared<JobControl>();
        Enqueue(document, control,
                [job = std::move(job), done = std::move(done),
                 this](const std::shared_ptr<JobControl>& c) mutable {
                    auto outcome = std::make_shared<JobOutcome<R>>();
                    {
                        // What the job holds (a share of the records) is let go of before the
                        // window hears of its end and may change the document.
                        const auto run = std::move(job);
                        try {
                            outcome->value.emplace(run(*c));
                        } catch (const JobStopped&) {
                        } catch (...) {
                            outcome->failure = std::current_exception();
                        }
                    }
                    outcome->cancelled = c->Cancelled();
                    m_post([done, outcome] { done(std::move(*outcome)); });
                });
        return control;
    }

  private:
    using Task = std::function<void(const std::shared_ptr<JobControl>&)>;
    struct Queue;

    void Enqueue(const void* document, std::shared_ptr<JobControl> control, Task task);
    void Drain(const void* document);

    Post m_post;
    std::mutex m_mutex;
    std::map<const void*, std::unique_ptr<Queue>> m_queues;
    bool m_closing = false;
};
