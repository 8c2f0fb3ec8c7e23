#include "platform/tavi/xmldb/Database.hpp"

#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi/xmldb/Database_p.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <boost/make_shared.hpp>

namespace TAVI::XMLDB {

std::string Database::LoadError::toString() const {
    return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

void DatabasePrivate::addEntry(DataLayer& layer, const std::string& key) {
    // Every leading part of a path is a node too; a leading "/" is part of the key, not a node.
    for (std::size_t slash = key.find('/', 1); slash != std::string::npos;
         slash = key.find('/', slash + 1))
        layer.try_emplace(key.substr(0, slash));
    layer.try_emplace(key);
}

bool DatabasePrivate::readFile(const std::string& file, DataLayer& into,
                               Database::LoadError& error) {
    error = Database::LoadError{file, 0, 0, {}};
    QFile device(QString::fromStdString(file));
    if (!device.open(QIODevice::ReadOnly)) {
        error.message = "cannot open the file: " + device.errorString().toStdString();
        return false;
    }

    DataLayer read; // merged into `into` only when the whole file is good
    QXmlStreamReader xml(&device);
    std::vector<std::string> open; // keys of the enclosing <node> elements
    bool sawRoot = false;
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView tag = xml.name();
            if (!sawRoot) {
                if (tag != u"xmldb") {
                    xml.raiseError(
                        QStringLiteral("the root element must be <xmldb>, not <%1>").arg(tag));
                    break;
                }
                sawRoot = true;
            } else if (tag == u"node") {
                const QXmlStreamAttributes attributes = xml.attributes(); // value() views into it
                const std::string name =
                    attributes.value(QLatin1String("name")).toString().toStdString();
                if (name.empty() || name.back() == '/' || name.find("//") != std::string::npos ||
                    (!open.empty() && name.front() == '/')) {
                    xml.raiseError(
                        QStringLiteral(
                            "<node> needs a name of non-empty parts separated by '/', not \"%1\"")
                            .arg(QString::fromStdString(name)));
                    break;
                }
                const std::string key = open.empty() ? name : open.back() + "/" + name;
                addEntry(read, key);
                const QStringView list = attributes.value(QLatin1String("list"));
                if (list == u"true")
                    read[key].hasList = true;
                else if (!list.isEmpty() && list != u"false") {
                    xml.raiseError(
                        QStringLiteral("the list attribute must be true or false, not \"%1\"")
                            .arg(list));
                    break;
                }
                open.push_back(key);
            } else if (tag == u"item") {
                if (open.empty()) {
                    xml.raiseError(QStringLiteral("<item> must be inside a <node>"));
                    break;
                }
                const QString text =
                    xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                if (xml.hasError())
                    break;
                DataEntry& entry = read[open.back()];
                entry.hasList = true;
                entry.values.push_back(text.trimmed().toStdString());
            } else {
                xml.raiseError(QStringLiteral("unknown element <%1>").arg(tag));
                break;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (xml.name() == u"node")
                open.pop_back();
        } else if (token == QXmlStreamReader::Characters) {
            if (!xml.isWhitespace()) {
                xml.raiseError(QStringLiteral("text outside an <item>"));
                break;
            }
        }
    }
    if (!xml.hasError() && !sawRoot)
        xml.raiseError(QStringLiteral("no <xmldb> element"));
    if (xml.hasError()) {
        error.line = static_cast<long>(xml.lineNumber());
        error.column = static_cast<long>(xml.columnNumber());
        error.message = xml.errorString().toStdString();
        return false;
    }
    for (auto& [key, entry] : read) {
        DataEntry& target = into[key];
        target.hasList = target.hasList || entry.hasList;
        target.values.insert(target.values.end(), entry.values.begin(), entry.values.end());
    }
    return true;
}

std::string DatabasePrivate::cleanFolder(const std::string& folder) {
    return QDir::cleanPath(QFileInfo(QString::fromStdString(folder)).absoluteFilePath())
        .toStdString();
}

bool DatabasePrivate::readFolder(FolderData& folder, ErrorHolder& errors) {
    folder.data.clear();
    folder.errors.clear();
    const QDir dir(QString::fromStdString(folder.path));
    if (!dir.exists()) {
        folder.errors.push_back(
            Database::LoadError{folder.path, 0, 0, "the folder does not exist"});
        errors.setError(SimpleErrorDescription(
            TAVI_HERE, "XML data folder not found: " + folder.path, "TAVI_XMLDB_FolderNotFound"));
        return false;
    }
    bool allGood = true;
    const QStringList files =
        dir.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : files) {
        Database::LoadError error;
        if (!readFile(dir.filePath(name).toStdString(), folder.data, error)) {
            allGood = false;
            folder.errors.push_back(error);
            errors.setError(SimpleErrorDescription(
                TAVI_HERE, "Malformed XML data file skipped: " + error.toString(),
                "TAVI_XMLDB_MalformedFile"));
        }
    }
    return allGood;
}

void DatabasePrivate::rebuild() {
    DataLayer all;
    auto mergeLayer = [&all](const DataLayer& layer) {
        for (const auto& [key, entry] : layer) {
            DataEntry& target = all[key];
            target.hasList = target.hasList || entry.hasList;
            target.values.insert(target.values.end(), entry.values.begin(), entry.values.end());
        }
    };
    for (const FolderData& folder : folders)
        mergeLayer(folder.data);
    mergeLayer(program);
    merged.clear();
    merged.reserve(all.size());
    for (auto& [key, entry] : all)
        merged.emplace(key,
                       boost::make_shared<DataNode>(key, std::move(entry.values), entry.hasList));
}

Database& Database::instance() {
    static Database database;
    return database;
}

Database& DefaultGetDatabase() {
    return Database::instance();
}

Database::Database() : d(new DatabasePrivate) {}
Database::~Database() {
    delete d;
}

bool Database::addFolder(const std::string& folder, ErrorHolder& errors) {
    FolderData fresh{DatabasePrivate::cleanFolder(folder), {}, {}};
    // Read outside the lock: readers keep the old data meanwhile.
    const bool ok = DatabasePrivate::readFolder(fresh, errors);
    const bool exists = QDir(QString::fromStdString(fresh.path)).exists();
    std::lock_guard lock(d->mutex);
    auto it = std::find_if(d->folders.begin(), d->folders.end(),
                           [&](const FolderData& f) { return f.path == fresh.path; });
    if (!exists) {
        // A folder that vanished loses its data; one never added stays out.
        if (it != d->folders.end()) {
            d->folders.erase(it);
            d->rebuild();
        }
        return false;
    }
    if (it != d->folders.end())
        *it = std::move(fresh);
    else
        d->folders.push_back(std::move(fresh));
    d->rebuild();
    return ok;
}

bool Database::reloadFolder(const std::string& folder, ErrorHolder& errors) {
    return addFolder(folder, errors);
}

bool Database::removeFolder(const std::string& folder) {
    const std::string path = DatabasePrivate::cleanFolder(folder);
    std::lock_guard lock(d->mutex);
    const auto removed =
        std::erase_if(d->folders, [&](const FolderData& f) { return f.path == path; });
    if (removed)
        d->rebuild();
    return removed != 0;
}

std::vector<std::string> Database::getFolders() const {
    std::lock_guard lock(d->mutex);
    std::vector<std::string> paths;
    for (const FolderData& folder : d->folders)
        paths.push_back(folder.path);
    return paths;
}

boost::shared_ptr<DataNode> Database::getData(const std::string& key, bool create) {
    std::lock_guard lock(d->mutex);
    const auto it = d->merged.find(key);
    if (it != d->merged.end())
        return it->second;
    if (!create || key.empty())
        return {};
    DatabasePrivate::addEntry(d->program, key);
    d->rebuild();
    return d->merged.at(key);
}

bool Database::hasData(const std::string& key) const {
    std::lock_guard lock(d->mutex);
    return d->merged.count(key) != 0;
}

void Database::setDataList(const std::string& key, const std::vector<std::string>& values) {
    if (key.empty())
        return;
    std::lock_guard lock(d->mutex);
    DatabasePrivate::addEntry(d->program, key);
    DataEntry& entry = d->program[key];
    entry.values = values;
    entry.hasList = true;
    d->rebuild();
}

std::vector<Database::LoadError> Database::getLoadErrors() const {
    std::lock_guard lock(d->mutex);
    std::vector<LoadError> all;
    for (const FolderData& folder : d->folders)
        all.insert(all.end(), folder.errors.begin(), folder.errors.end());
    return all;
}

} // namespace TAVI::XMLDB
