#include "platform/tavi/ModuleObjectDeleter.hpp"

namespace TAVI {

ModuleObjectDeleter& ModuleObjectDeleter::instance() {
    static ModuleObjectDeleter deleter;
    return deleter;
}

void ModuleObjectDeleter::addDeleter(std::function<void()> deleter) {
    if (deleter)
        deleters.push_back(std::move(deleter));
}

void ModuleObjectDeleter::unload() {
    while (!deleters.empty()) {
        std::function<void()> last = std::move(deleters.back());
        deleters.pop_back();
        last();
    }
}

ModuleObjectDeleter::~ModuleObjectDeleter() {
    unload();
}

} // namespace TAVI
