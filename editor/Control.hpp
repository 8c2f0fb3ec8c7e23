#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/zeph/Node.hpp"

namespace ZEPH {
class MouseEvent;
}

namespace KITE {

class Glyph;

// A small interactive node tree that a glyph carries under a tag (a button, a handle). Counted;
// it lives while its glyph or a caller holds it. Glyph::addControl builds and attaches it,
// Glyph::removeControl detaches it without destroying it.
class KITE_EDITOR_EXPORT Control : public TAVI::ReferencedTemplate<unsigned int> {
public:
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual TAVI::StringID getDefaultTag() const = 0;
    virtual ZEPH::Node getRoot() const = 0;

    void update() { doUpdate(); }
    void onMousePress(ZEPH::MouseEvent& event) { doMousePress(event); }

    // Null (invalid) until the control is added to a glyph.
    ZEPH::Node getParent() const { return parent; }
    Glyph* getGlyph() const { return glyph; }
    TAVI::StringID getTag() const { return tag; }
    // Whether node is the control's root or lies below it.
    bool contains(const ZEPH::Node& node) const;
    // Whether the top-most node at the scene point belongs to the control.
    bool containsScenePos(const TAVI::GLPoint<double>& point) const;

protected:
    Control();
    // Builds the control's nodes; the root is then put under parent.
    virtual void doCreate(const ZEPH::Node& parent) = 0;
    virtual void doUpdate() = 0;
    virtual void doMousePress(ZEPH::MouseEvent& event) = 0;

private:
    friend class Glyph;
    void add(Glyph* owner, const ZEPH::Node& parentNode, const TAVI::StringID& controlTag);
    void remove();

    TAVI::StringID tag;
    ZEPH::Node parent;
    Glyph* glyph = nullptr; // not owned
};

} // namespace KITE
