#include "examples/studio_demo/ModelTreeViewModel.hpp"

#include "examples/studio_demo/ContainmentFilter.hpp"
#include "studio/components/DefaultElementDescriber.hpp"
#include "studio/components/DefaultGetChildren.hpp"
#include "studio/components/DefaultGetIcon.hpp"

#include <boost/make_shared.hpp>

#include <vector>

namespace StudioDemo {

ModelTreeViewModel::ModelTreeViewModel()
    : describer(boost::make_shared<KITE::DefaultElementDescriber>()),
      children(
          boost::make_shared<KITE::DefaultGetChildren>(boost::make_shared<ContainmentFilter>())),
      icons(boost::make_shared<KITE::DefaultGetIcon>()) {
    nameColumn = appendColumns({"Name"}).front();
}

ModelTreeViewModel::~ModelTreeViewModel() = default;

void ModelTreeViewModel::populate(const VELD::ImmutableClassObject& root) {
    // Views see the new rows in one step when the transaction ends.
    beginTransaction();
    removeAllRows();
    objects.clear();
    rows.clear();
    if (root.isValid())
        addRows(rootRow, root);
    endTransaction();
}

void ModelTreeViewModel::addRows(unsigned parentRow, const VELD::ImmutableClassObject& object) {
    const unsigned row = appendRow(parentRow);
    objects.emplace(row, object);
    rows.emplace(object, row);
    setValue(row, nameColumn, TAVI::any(describer->describe(object, 0)));
    const std::string icon = icons->execute(object);
    if (!icon.empty())
        setIcon(row, nameColumn, TAVI::Icon(icon, 0, 0));
    setReadOnly(row, nameColumn, true);
    std::vector<VELD::ImmutableClassObject> below;
    children->execute(object, &below);
    for (const VELD::ImmutableClassObject& child : below)
        addRows(row, child);
}

VELD::ImmutableClassObject ModelTreeViewModel::getObject(unsigned rowUID) const {
    const auto found = objects.find(rowUID);
    return found == objects.end() ? VELD::ImmutableClassObject() : found->second;
}

unsigned ModelTreeViewModel::getRow(const VELD::ImmutableClassObject& object) const {
    const auto found = rows.find(object);
    return found == rows.end() ? rootRow : found->second;
}

} // namespace StudioDemo
