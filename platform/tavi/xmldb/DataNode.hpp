#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <string>
#include <vector>

namespace TAVI::XMLDB {

// One keyed entry of the XML database: its key (a path such as
// "Filter/lib.Block/Tree/Simple/Include"), its name (the key's last part) and,
// when the data gave one, its list of strings. Nodes are immutable snapshots:
// reloading data makes new nodes and leaves handed-out ones as they were.
class TAVI_UTIL_EXPORT DataNode {
public:
    DataNode(std::string key, std::vector<std::string> dataList, bool hasList);

    const std::string& getKey() const { return key; }
    const std::string& getName() const { return name; }
    bool hasDataList() const { return hasList; }
    // Empty when the node has no data list.
    const std::vector<std::string>& getDataList() const { return dataList; }

private:
    std::string key;
    std::string name;
    std::vector<std::string> dataList;
    bool hasList;
};

} // namespace TAVI::XMLDB
