#pragma once

#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/zeph_export.hpp"

#include <map>
#include <string>
#include <vector>

namespace ZEPH {

// A drag moving over the scene, or a drop on it: the pointer position and the
// dragged data by format. A handler that consumes a drag event accepts the drop
// at that point.
class ZEPH_EXPORT DragEvent : public MouseEvent {
public:
    explicit DragEvent(const TAVI::GLPoint<double>& scenePos, int modifiers = NoModifier,
                       GLCanvas* canvas = nullptr)
        : MouseEvent(scenePos, NoButton, NoButton, modifiers, canvas) {}

    void setData(const std::string& format, const std::string& value) { payload[format] = value; }
    bool hasFormat(const std::string& format) const { return payload.count(format) != 0; }
    // Empty when the format is not there.
    std::string data(const std::string& format) const {
        const auto it = payload.find(format);
        return it == payload.end() ? std::string() : it->second;
    }
    std::vector<std::string> formats() const {
        std::vector<std::string> result;
        for (const auto& entry : payload)
            result.push_back(entry.first);
        return result;
    }

private:
    std::map<std::string, std::string> payload;
};

} // namespace ZEPH
