#pragma once

#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/veld/ClassObject.hpp"

#include <boost/shared_ptr.hpp>

#include <unordered_map>

namespace KITE {
class DefaultElementDescriber;
class DefaultGetChildren;
class DefaultGetIcon;
} // namespace KITE

namespace StudioDemo {

// The rows of the model tree: one per object, under the object that contains it, with the
// text and icon the library's presentation strategies give it. One column.
class ModelTreeViewModel : public TAVI::GLAbstractViewModel2 {
public:
    ModelTreeViewModel();
    ~ModelTreeViewModel() override;

    // Replaces the rows with root and everything under it.
    void populate(const VELD::ImmutableClassObject& root);

    // The object a row shows; invalid for an unknown row.
    VELD::ImmutableClassObject getObject(unsigned rowUID) const;
    // The row that shows an object; 0 (the invisible root row) when none does.
    unsigned getRow(const VELD::ImmutableClassObject& object) const;
    unsigned getNameColumn() const { return nameColumn; }

private:
    void addRows(unsigned parentRow, const VELD::ImmutableClassObject& object);

    boost::shared_ptr<KITE::DefaultElementDescriber> describer;
    boost::shared_ptr<KITE::DefaultGetChildren> children;
    boost::shared_ptr<KITE::DefaultGetIcon> icons;
    unsigned nameColumn = 0;
    std::unordered_map<unsigned, VELD::ImmutableClassObject> objects;
    std::unordered_map<VELD::ImmutableClassObject, unsigned> rows;
};

} // namespace StudioDemo
