#pragma once

// A real studio window run by a studio application with its property browser docked, on a
// small plant meta-model whose machines have one property of every kind the browser edits; and
// helpers that drive the browser's view as a user does: expanding rows, opening a cell's editor,
// ending the edit with Return or Escape.

#include "platform/datamodel/Diagram.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Model.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/PropBrowserDelegate.hpp"
#include "studio/components/PropBrowserViewModel.hpp"

#include <gtest/gtest.h>

#include <string>

namespace KITE::Test {

// The plant meta-model ("test:propbrowser"): a Plant holds machines, parts and the rest; a
// Machine has a property of each kind. Its domain is registered once, with the browser's
// component factory.
struct PlantMeta {
    static const PlantMeta& get();
    VELD::ImmutableNamespace package;
    VELD::ImmutableClass plant, machine, part, motor, pump, anonymous, simple, typed;
    VELD::ImmutableProperty name, parts, area, enabled, count, weight, limit, colour, tags, serial,
        drive, main, helper, favourites, notes, partName, simpleName, typedType;
};

// A plant with two machines (press and mill), a motor, a pump, a part and an anonymous object.
struct PlantModel {
    PlantModel();
    VELD::ClassObject make(const char* className, const char* slot) const;
    VELD::Model model;
    VELD::ClassObject press, mill, motor, pump, part, anonymous;
    Diagram diagram;
    GraphNode node; // on the diagram
};

// Shows what is selected, as domains' delegates do (the library's own shows nothing).
class ShowingDelegate : public PropBrowserDelegate {
public:
    VELD::ClassObject getItemToSelect(const VELD::ClassObject& selected) override {
        return selected;
    }
};

class PropBrowserTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    PropBrowserViewModel& rows() const { return *browser->getViewModel(); }
    TAVI::GLTreeView2& view() const { return *browser->getTreeView(); }
    unsigned rowOf(const VELD::ImmutableProperty& property, int index = -1,
                   const VELD::ImmutableClassObject& object = {}) const;
    std::string value(const VELD::ImmutableProperty& property, int index = -1) const {
        return browser->testAPI_GetValueOfProperty(property, VELD::ClassObject(), index);
    }
    // The labels of the rows under parent, in order.
    std::vector<std::string> labels(unsigned parent = 0) const;
    // Expands the row as the user does, letting the view catch up.
    void expand(unsigned row) const;
    // Opens the editor of the row's value cell as the user does; its editor or null.
    PropBrowserEditor* edit(unsigned row) const;
    // Ends the open edit with Return (commit) or Escape, as the user does.
    void finish(PropBrowserEditor* editor, bool commit = true) const;
    static void settle();
    void select(const VELD::ImmutableClassObject& object) const;
    void undo() const { model.undoToChangeLevel(model.getCurrentChangeLevel() - 1); }
    void redo() const { model.redoToChangeLevel(model.getCurrentChangeLevel() + 1); }

    const PlantMeta& meta = PlantMeta::get();
    PlantModel plant;
    VELD::Model& model = plant.model;
    TAVI::Holder<StudioApp> app{new StudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    PropBrowserComponent* browser = nullptr;
};

} // namespace KITE::Test
