#pragma once
// Runs independent jobs (one per slide) on a few threads. Each job only reads shared data and
// writes its own result slot. When jobs throw, the exception of the first failing job (in job
// order) is rethrown after all threads finished, so errors are the same as in a serial run.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace zov::host::pptx {

template <class Job>
void runJobs(std::size_t count, Job job)
{
    const std::size_t threads = std::min<std::size_t>({count, std::max(1u, std::thread::hardware_concurrency()), 4});
    std::vector<std::exception_ptr> errors(count);
    auto runOne = [&](std::size_t i) {
        try {
            job(i);
        } catch (...) {
            errors[i] = std::current_exception();
        }
    };
    if (threads <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            runOne(i);
    } else {
        std::atomic<std::size_t> next{0};
        auto worker = [&] {
            for (std::size_t i = next++; i < count; i = next++)
                runOne(i);
        };
        std::vector<std::thread> pool;
        pool.reserve(threads - 1);
        for (std::size_t t = 1; t < threads; ++t) {
            try {
                pool.emplace_back(worker);
            } catch (...) {
                break; // no more threads to be had: the ones running share the rest
            }
        }
        worker();
        for (auto& t : pool)
            t.join();
    }
    for (const auto& e : errors)
        if (e)
            std::rethrow_exception(e);
}

} // namespace zov::host::pptx
