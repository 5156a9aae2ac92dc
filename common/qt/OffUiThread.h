// Running a piece of work on a thread of its own while the user-interface
// thread keeps serving window events.
#pragma once

#include <QEventLoop>
#include <QObject>
#include <QThread>

#include <exception>
#include <memory>
#include <optional>
#include <utility>

namespace caltrix {

// Starts `work` on a new thread; `done` gets its result on `context`'s
// thread, through the event loop, once the thread has finished (not when
// `context` is gone by then). The caller owns the thread: it waits for it
// and deletes it. `work` must not throw.
template <typename Work, typename Done>
QThread* StartOffUiThread(QObject* context, Work work, Done done) {
    using Result = decltype(work());
    auto result = std::make_shared<std::optional<Result>>();
    QThread* thread = QThread::create([work = std::move(work), result]() mutable { result->emplace(work()); });
    // Queued to the context's thread: the result arrives even when the work
    // ends before that thread's loop runs again.
    QObject::connect(
        thread, &QThread::finished, context, [result, done = std::move(done)]() mutable { done(std::move(**result)); },
        Qt::QueuedConnection);
    thread->start();
    return thread;
}

// Runs `work` on a new thread and waits for it in a local event loop; returns
// its result or rethrows its exception here. The work must not touch objects
// that the events served meanwhile can change: hand it copies.
template <typename Work>
auto RunOffUiThread(Work work) -> decltype(work()) {
    using Result = decltype(work());
    Result result{};
    std::exception_ptr failure;
    QEventLoop loop;
    const std::unique_ptr<QThread> thread(StartOffUiThread(
        &loop,
        [&] {
            try {
                result = work();
            } catch (...) {
                failure = std::current_exception();
            }
            return true;
        },
        [&loop](bool) { loop.quit(); }));
    loop.exec();
    thread->wait();
    if (failure) std::rethrow_exception(failure);
    return result;
}

}  // namespace caltrix
