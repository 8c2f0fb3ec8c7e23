#pragma once

#include "platform/tavi2/GLAction2.hpp"
#include "studio/kite_studio_export.hpp"

namespace KITE {

// A menu entry of the explorer bar that stands for a row of the model tree (0: none).
class KITE_STUDIO_EXPORT ExplorerBarAction : public TAVI::GLAction2 {
public:
    ExplorerBarAction(const TAVI::StringID& toolkit, const std::string& label, unsigned rowUID,
                      TAVI::GLWidget2* parent = nullptr)
        : GLAction2(toolkit, label, parent), row(rowUID) {}
    unsigned getRow() const { return row; }

private:
    unsigned row;
};

} // namespace KITE
