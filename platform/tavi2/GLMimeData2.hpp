#pragma once

#include "platform/tavi/any.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <map>
#include <string>
#include <vector>

class QMimeData;

namespace TAVI {

// What a drag carries: values by format. A drop site that takes GLMimeData2 gets the values
// themselves (an element handle, a list of ids); drop sites that read bytes (other programs,
// the canvas) get the text of strings, names, numbers and truth values as UTF-8, and no bytes
// for other values. A value copy: copying copies the values.
class TAVI2_EXPORT GLMimeData2 {
public:
    GLMimeData2() = default;

    // Replaces the value of a format. An empty format is refused with false.
    bool setData(const std::string& format, const any& value);
    // The value; empty when the format is absent.
    any getData(const std::string& format) const;
    bool hasFormat(const std::string& format) const;
    std::vector<std::string> getFormats() const;
    bool isEmpty() const { return values.empty(); }
    void clear() { values.clear(); }

    // A Qt mime data object carrying these values, owned by the caller (a drag takes it).
    QMimeData* toQMimeData() const;
    // The values of a Qt mime data object: all of them when it came from toQMimeData, else
    // each format's bytes as a string.
    static GLMimeData2 fromQMimeData(const QMimeData* data);

private:
    std::map<std::string, any> values;
};

} // namespace TAVI
