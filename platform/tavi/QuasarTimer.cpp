#include "platform/tavi/QuasarTimer.hpp"

#include "platform/tavi/QuasarTimer_p.hpp"

#include <vector>

namespace TAVI {

void QuasarTimerPrivate::fire() {
    const std::shared_ptr<bool> stillAlive = alive;
    // Take the ids first: a handler may connect or disconnect others.
    std::vector<int> ids;
    for (const auto& entry : handlers)
        ids.push_back(entry.first);
    for (int id : ids) {
        if (!*stillAlive)
            return;
        const auto it = handlers.find(id);
        if (it == handlers.end())
            continue;
        const std::function<void()> handler = it->second; // the handler may disconnect itself
        handler();
    }
}

QuasarTimer::QuasarTimer() : d(new QuasarTimerPrivate(this)) {
    QObject::connect(&d->timer, &QTimer::timeout, [this] { d->fire(); });
}

QuasarTimer::~QuasarTimer() {
    *d->alive = false;
    delete d;
}

void QuasarTimer::startSingle(int milliseconds) {
    d->timer.setSingleShot(true);
    d->timer.start(milliseconds < 0 ? 0 : milliseconds);
}

void QuasarTimer::startRepeating(int milliseconds) {
    d->timer.setSingleShot(false);
    d->timer.start(milliseconds < 0 ? 0 : milliseconds);
}

void QuasarTimer::stop() {
    d->timer.stop();
}
bool QuasarTimer::isActive() const {
    return d->timer.isActive();
}

int QuasarTimer::connectTimeout(std::function<void()> handler) {
    if (!handler)
        return 0;
    const int id = d->nextId++;
    d->handlers.emplace(id, std::move(handler));
    return id;
}

void QuasarTimer::disconnectTimeout(int id) {
    d->handlers.erase(id);
}

} // namespace TAVI
