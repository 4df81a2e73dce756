// Work on every log of a run spread over threads: each log is handled by one
// thread, so work that touches only its own log needs no lock.
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "velmora-check/CheckTypes.h"

// `jobs` 0: one thread per processor.
inline unsigned ThreadsFor(unsigned jobs, std::size_t work)
{
    const unsigned wanted = jobs == 0 ? std::max(1u, std::thread::hardware_concurrency()) : jobs;
    return std::max(1u, std::min<unsigned>(wanted, static_cast<unsigned>(std::max<std::size_t>(1, work))));
}

// Calls work(i) for every i below `count`, spread over threads.
template <typename Work>
void ForEachIndexInParallel(std::size_t count, unsigned jobs, const Work& work)
{
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < ThreadsFor(jobs, count); ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads)
        thread.join();
}

template <typename Work>
void ForEachLogInParallel(TCheckRun& run, unsigned jobs, const Work& work)
{
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t l = next++; l < run.Logs.size(); l = next++)
            work(run.Logs[l]);
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < ThreadsFor(jobs, run.Logs.size()); ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads)
        thread.join();
}
