#pragma once

#include "platform/tavi2/tavi2_export.hpp"

#include <vector>

class QButtonGroup;

namespace TAVI {

class GLAbstractButton2;
class GLButtonGroup2Private;
class GLWidget2;

// A set of checkable buttons of which at most one is checked when the group is exclusive (the
// default): checking one unchecks the others. The group owns its Qt group; made with a parent
// widget it goes with that widget, else the caller deletes it. Buttons are not owned; a button
// that is destroyed leaves the group.
class TAVI2_EXPORT GLButtonGroup2 {
public:
    explicit GLButtonGroup2(GLWidget2* parent = nullptr);
    ~GLButtonGroup2();
    GLButtonGroup2(const GLButtonGroup2&) = delete;
    GLButtonGroup2& operator=(const GLButtonGroup2&) = delete;

    // Makes the button checkable. Throws TypedException for null.
    void addButton(GLAbstractButton2* button);
    void removeButton(GLAbstractButton2* button);
    std::vector<GLAbstractButton2*> getButtons() const;
    // Null when no button is checked.
    GLAbstractButton2* getCheckedButton() const;

    void setExclusive(bool exclusive);
    bool isExclusive() const;

private:
    GLButtonGroup2Private* d; // owned
};

} // namespace TAVI
