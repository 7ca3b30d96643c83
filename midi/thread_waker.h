#pragma once
#include <QObject>
#include <atomic>
#include <functional>

class QSocketNotifier;

namespace harmik {

// Wakes the main thread from another thread without allocating or locking: notify() bumps an
// eventfd that a socket notifier on the main thread watches, and the handler then runs on the
// main thread. Notifications made before the handler runs are merged into one call.
class ThreadWaker : public QObject {
    Q_OBJECT
public:
    explicit ThreadWaker(std::function<void()> handler, QObject* parent = nullptr);
    ~ThreadWaker() override;

    void notify(); // any thread; never allocates
    bool valid() const { return fd_ >= 0; }

private:
    void onReadable();

    int fd_ = -1;
    std::atomic<bool> pending_{false};
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> handler_;
};

} // namespace harmik
