#pragma once

#include "platform/orbis/orbis_export.hpp"

#include <functional>
#include <string>
#include <vector>

namespace PLATFORM {

// A named context menu: items in order, each with a label and an action,
// either a callback or the name of a host function (called, errors trapped,
// with the menu name and the item label as two string arguments). Labels
// identify items: adding an item with a label already present replaces it.
// A label of "-" is a separator and runs nothing.
class ORBIS_EXPORT ContextMenuSchema {
public:
    struct Item {
        std::string label;
        std::function<void()> callback; // empty for host-function items
        std::string hostFunction;       // empty for callback items
        bool isSeparator() const { return label == "-"; }
    };

    ContextMenuSchema() = default;
    explicit ContextMenuSchema(std::string name);

    const std::string& getName() const { return name; }
    const std::vector<Item>& getItems() const { return items; }
    bool isEmpty() const { return items.empty(); }

    void addItem(const std::string& label, std::function<void()> callback);
    void addHostFunctionItem(const std::string& label, const std::string& functionName);
    void addSeparator();
    // Null when there is no item with that label.
    const Item* findItem(const std::string& label) const;

    // One line per item, "label=function" for host-function items and "label"
    // for the others: what a script sees of the menu.
    std::string describe() const;
    std::string describeItem(const Item& item) const;

private:
    void put(Item item);

    std::string name;
    std::vector<Item> items;
};

} // namespace PLATFORM
