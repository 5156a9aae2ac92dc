// Running a piece of work on a thread of its own while the user-interface
// thread keeps serving window events.
#pragma once

#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>
#include <utility>

namespace caltrix {

// Runs `work` on a new thread and waits for it in a local event loop; returns
// its result or rethrows its exception here. The work must not touch objects
// that the events served meanwhile can change: hand it copies.
template <typename Work>
auto RunOffUiThread(Work work) -> decltype(work()) {
    using Result = decltype(work());
    Result result{};
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            result = work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    // Queued to this thread: the quit arrives even when the work ends before
    // the loop starts.
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    if (failure) std::rethrow_exception(failure);
    return result;
}

}  // namespace caltrix
