#include "platform/tavi2/GLMimeData2.hpp"

#include <QMimeData>

#include <optional>

namespace TAVI {

namespace {

// Carries the values themselves along the Qt bytes, for drop sites in this process.
class CarriedMimeData : public QMimeData {
public:
    explicit CarriedMimeData(const GLMimeData2& data) : carried(data) {}
    GLMimeData2 carried;
};

// The text of values that have one (strings, names, numbers, truth values); none for others.
std::optional<std::string> textOf(const any& value) {
    if (const std::string* text = value.get<std::string>())
        return *text;
    if (const StringID* name = value.get<StringID>())
        return name->getString();
    if (value.get<int>() || value.get<unsigned>() || value.get<long>() ||
        value.get<unsigned long>() || value.get<long long>() || value.get<unsigned long long>() ||
        value.get<double>() || value.get<bool>())
        return value.convertToString();
    return std::nullopt;
}

} // namespace

bool GLMimeData2::setData(const std::string& format, const any& value) {
    if (format.empty())
        return false;
    values[format] = value;
    return true;
}

any GLMimeData2::getData(const std::string& format) const {
    const auto it = values.find(format);
    return it == values.end() ? any() : it->second;
}

bool GLMimeData2::hasFormat(const std::string& format) const {
    return values.count(format) != 0;
}

std::vector<std::string> GLMimeData2::getFormats() const {
    std::vector<std::string> formats;
    for (const auto& [format, value] : values)
        formats.push_back(format);
    return formats;
}

QMimeData* GLMimeData2::toQMimeData() const {
    auto* data = new CarriedMimeData(*this);
    for (const auto& [format, value] : values) {
        // Only text can leave the process (or reach drop sites that read bytes, such as the
        // canvas); other values are there for drop sites that take GLMimeData2.
        const std::optional<std::string> text = textOf(value);
        data->setData(QString::fromStdString(format),
                      text ? QByteArray::fromStdString(*text) : QByteArray());
    }
    return data;
}

GLMimeData2 GLMimeData2::fromQMimeData(const QMimeData* data) {
    if (!data)
        return GLMimeData2();
    if (const auto* carried = dynamic_cast<const CarriedMimeData*>(data))
        return carried->carried;
    GLMimeData2 result;
    for (const QString& format : data->formats())
        result.setData(format.toStdString(), data->data(format).toStdString());
    return result;
}

} // namespace TAVI
