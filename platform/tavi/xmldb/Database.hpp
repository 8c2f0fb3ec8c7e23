#pragma once

#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/tavi_util_export.hpp"
#include "platform/tavi/xmldb/DataNode.hpp"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace TAVI::XMLDB {

class DatabasePrivate;

// Keyed data read from folders of XML data files (format: docs/xml-database.md).
// The application adds folders; each folder's *.xml files are read in name
// order and merged with the other folders' data in the order the folders were
// added: data lists under one key are joined in that order. A malformed file
// is skipped with an error naming the file, line and column; the other files
// stay loaded. Adding a folder again (or reloading it) replaces its data.
// Safe to use from several threads.
class TAVI_UTIL_EXPORT Database {
public:
    struct LoadError {
        std::string file;
        long line = 0;
        long column = 0;
        std::string message;
        std::string toString() const; // "file:line:column: message"
    };

    static Database& instance();

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Reads the folder. False, with the last problem in `errors`, when the
    // folder cannot be read or some file was malformed (the good files are
    // loaded all the same). Errors: TAVI_XMLDB_FolderNotFound, TAVI_XMLDB_MalformedFile.
    bool addFolder(const std::string& folder, ErrorHolder& errors);
    bool reloadFolder(const std::string& folder, ErrorHolder& errors);
    // Forgets the folder's data; false when it was not added.
    bool removeFolder(const std::string& folder);
    // Folders in the order they were added, as absolute clean paths.
    std::vector<std::string> getFolders() const;

    // The node under the key, or null when the key is absent. With `create`,
    // an absent key gets an empty node (without a data list) owned by the program.
    boost::shared_ptr<DataNode> getData(const std::string& key, bool create = false);
    bool hasData(const std::string& key) const;

    // Sets a data list from the program; program data comes after folder data.
    void setDataList(const std::string& key, const std::vector<std::string>& values);

    // Problems of the latest reading of every folder still added.
    std::vector<LoadError> getLoadErrors() const;

private:
    DatabasePrivate* d_func() { return d; }
    const DatabasePrivate* d_func() const { return d; }
    DatabasePrivate* d; // owned
};

using DatabaseGetter = Database& (*)();

// The database the filters use unless given another: Database::instance().
TAVI_UTIL_EXPORT Database& DefaultGetDatabase();

} // namespace TAVI::XMLDB
