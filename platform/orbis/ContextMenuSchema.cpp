#include "platform/orbis/ContextMenuSchema.hpp"

#include <algorithm>
#include <utility>

namespace PLATFORM {

ContextMenuSchema::ContextMenuSchema(std::string name) : name(std::move(name)) {}

void ContextMenuSchema::addItem(const std::string& label, std::function<void()> callback) {
    put(Item{label, std::move(callback), {}});
}

void ContextMenuSchema::addHostFunctionItem(const std::string& label,
                                            const std::string& functionName) {
    put(Item{label, {}, functionName});
}

void ContextMenuSchema::addSeparator() {
    items.push_back(Item{"-", {}, {}});
}

const ContextMenuSchema::Item* ContextMenuSchema::findItem(const std::string& label) const {
    const auto it = std::find_if(items.begin(), items.end(), [&](const Item& item) {
        return !item.isSeparator() && item.label == label;
    });
    return it == items.end() ? nullptr : &*it;
}

std::string ContextMenuSchema::describeItem(const Item& item) const {
    return item.hostFunction.empty() ? item.label : item.label + "=" + item.hostFunction;
}

std::string ContextMenuSchema::describe() const {
    std::string text;
    for (const Item& item : items) {
        if (!text.empty())
            text += '\n';
        text += describeItem(item);
    }
    return text;
}

void ContextMenuSchema::put(Item item) {
    const auto it = std::find_if(items.begin(), items.end(), [&](const Item& existing) {
        return !existing.isSeparator() && existing.label == item.label;
    });
    if (it != items.end())
        *it = std::move(item);
    else
        items.push_back(std::move(item));
}

} // namespace PLATFORM
