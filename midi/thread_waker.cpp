#include "midi/thread_waker.h"

#include <QSocketNotifier>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace harmik {

ThreadWaker::ThreadWaker(std::function<void()> handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd_ < 0)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ThreadWaker::onReadable);
}

ThreadWaker::~ThreadWaker() {
    delete notifier_;
    if (fd_ >= 0)
        close(fd_);
}

void ThreadWaker::notify() {
    if (fd_ < 0 || pending_.exchange(true, std::memory_order_acq_rel))
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

void ThreadWaker::onReadable() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(fd_, &count, sizeof count);
    // Cleared before the handler looks at the shared data, so that anything arriving while it
    // runs wakes it again.
    pending_.store(false, std::memory_order_release);
    if (handler_)
        handler_();
}

} // namespace harmik
