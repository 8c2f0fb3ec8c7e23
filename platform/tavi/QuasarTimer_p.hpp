// Private to platform/tavi/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi/QuasarTimer.hpp"

#include <QTimer>

#include <map>
#include <memory>

namespace TAVI {

class QuasarTimerPrivate {
public:
    explicit QuasarTimerPrivate(QuasarTimer* owner) : q(owner) {}

    void fire();

    QuasarTimer* q; // back pointer
    QTimer timer;
    std::map<int, std::function<void()>> handlers; // by id: ids grow, so this is connection order
    int nextId = 1;
    // Shared with a running fire(): it learns here that the timer was destroyed.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

} // namespace TAVI
