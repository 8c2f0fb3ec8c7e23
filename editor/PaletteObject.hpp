#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi2/GLImage2.hpp"

#include <string>

namespace KITE {

// A palette item that is dragged rather than clicked: it shows an icon, and a left press on it
// starts a drag whose data carries the type name, as both the format and the value, for the
// canvas to drop. An empty type name starts no drag.
class KITE_EDITOR_EXPORT PaletteObject : public TAVI::GLImage2, public NIMB::Listener {
public:
    PaletteObject(const std::string& iconFile, const std::string& typeName);
    ~PaletteObject() override;

    const std::string& getTypeName() const { return typeName; }

protected:
    void doMousePress(const TAVI::GLMouseEvent2& event);

private:
    std::string typeName;
};

} // namespace KITE
