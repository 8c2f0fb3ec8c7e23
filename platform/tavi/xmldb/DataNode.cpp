#include "platform/tavi/xmldb/DataNode.hpp"

namespace TAVI::XMLDB {

DataNode::DataNode(std::string nodeKey, std::vector<std::string> list, bool withList)
    : key(std::move(nodeKey)), dataList(std::move(list)), hasList(withList) {
    const auto slash = key.find_last_of('/');
    name = slash == std::string::npos ? key : key.substr(slash + 1);
}

} // namespace TAVI::XMLDB
