#pragma once

#include "utils/kite_utils_export.hpp"

#include <string>
#include <vector>

namespace KITE::Util {

// Why a filter accepted or rejected one candidate: the steps it took, in order. Filters fill
// one only while they track their history, and print it with dumpHistory.
class KITE_UTILS_EXPORT FilterTestResult {
public:
    struct Entry {
        std::string typeName; // the filter's type name ("XMLFilterMatch")
        std::string method;
        std::string message;
        std::string file;
        int line = 0;
        bool flag = false; // whether the step spoke for acceptance
    };

    void add(std::string typeName, std::string method, std::string message, std::string file,
             int line, bool flag);
    const std::vector<Entry>& getEntries() const { return entries; }
    bool isEmpty() const { return entries.empty(); }
    void clear() { entries.clear(); }

private:
    std::vector<Entry> entries;
};

} // namespace KITE::Util
