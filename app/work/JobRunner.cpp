#include "app/work/JobRunner.h"

#include <deque>
#include <vector>

struct JobRunner::Queue {
    std::deque<std::pair<std::shared_ptr<JobControl>, Task>> jobs;
    std::shared_ptr<JobControl> running;
    bool draining = false;  // its worker is in Drain
    std::thread worker;
};

void JobControl::Report(double fraction, std::string text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_progress.fraction = fraction;
    m_progress.text = std::move(text);
}

JobControl::Progress JobControl::Read() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_progress;
}

JobRunner::JobRunner(Post post) : m_post(std::move(post)) {}

JobRunner::~JobRunner() {
    std::vector<std::thread> workers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
        for (auto& [document, queue] : m_queues) {
            for (auto& job : queue->jobs) job.first->Cancel();
            queue->jobs.clear();
            if (queue->running) queue->running->Cancel();
            if (queue->worker.joinable()) workers.push_back(std::move(queue->worker));
        }
    }
    for (auto& worker : workers) worker.join();
}

void JobRunner::Enqueue(const void* document, std::shared_ptr<JobControl> control, Task task) {
    std::thread finished;  // a worker that has left Drain, joined outside the lock
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closing) return;
        auto& queue = m_queues[document];
        if (!queue) queue = std::make_unique<Queue>();
        queue->jobs.emplace_back(std::move(control), std::move(task));
        if (queue->draining) return;
        queue->draining = true;
        finished = std::move(queue->worker);
        try {
            queue->worker = std::thread([this, document] { Drain(document); });
        } catch (...) {
            queue->draining = false;
            queue->jobs.pop_back();
            throw;
        }
    }
    if (finished.joinable()) finished.join();
}

void JobRunner::Drain(const void* document) {
    std::unique_lock<std::mutex> lock(m_mutex);
    Queue& queue = *m_queues.at(document);
    while (!queue.jobs.empty()) {
        auto [control, task] = std::move(queue.jobs.front());
        queue.jobs.pop_front();
        queue.running = control;
        lock.unlock();
        try {
            task(control);  // catches what the job throws; only the hand-back itself may fail
        } catch (...) {
        }
        lock.lock();
        queue.running.reset();
    }
    queue.draining = false;
}
