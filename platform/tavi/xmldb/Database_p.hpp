// Private to platform/tavi/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi/xmldb/Database.hpp"

#include <map>
#include <mutex>
#include <unordered_map>

namespace TAVI::XMLDB {

struct DataEntry {
    std::vector<std::string> values;
    bool hasList = false;
};

// Key to entry; intermediate keys of a path have entries without a list.
using DataLayer = std::map<std::string, DataEntry>;

struct FolderData {
    std::string path; // absolute, clean
    DataLayer data;
    std::vector<Database::LoadError> errors;
};

class DatabasePrivate {
public:
    // Reads one file into `into`; on failure leaves `into` untouched and fills `error`.
    static bool readFile(const std::string& file, DataLayer& into, Database::LoadError& error);
    static void addEntry(DataLayer& layer, const std::string& key);
    static std::string cleanFolder(const std::string& folder);

    // Reads the folder's files into `folder` (replacing its data). False when
    // the folder is missing or some file failed.
    static bool readFolder(FolderData& folder, ErrorHolder& errors);

    // Remakes the merged index from the folders and the program's data. Call with the mutex held.
    void rebuild();

    mutable std::mutex mutex;
    std::vector<FolderData> folders;
    DataLayer program;
    std::unordered_map<std::string, boost::shared_ptr<DataNode>> merged;
};

} // namespace TAVI::XMLDB
