#pragma once

#include "platform/tavi/Icon.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

class QAbstractButton;

namespace TAVI {

class GLAbstractButton2Private;

// What push buttons, tool buttons and check boxes share: a label, an icon, a checked state,
// and the click and toggle signals.
class TAVI2_EXPORT GLAbstractButton2 : public GLWidget2 {
public:
    ~GLAbstractButton2() override;

    void setLabel(const std::string& label);
    std::string getLabel() const;
    void setIcon(const Icon& icon);
    Icon getIcon() const;
    void setCheckable(bool checkable);
    bool isCheckable() const;
    // Changes the state (sending the toggle signal when it changes) without a click.
    void setChecked(bool checked);
    bool isChecked() const;
    // Exclusive checkable buttons with the same parent widget keep at most one of them checked
    // (as a GLButtonGroup2 does, without one).
    void setExclusive(bool exclusive);
    bool isExclusive() const;
    // Acts as if the user clicked the button: a checkable button toggles, then the click is
    // sent. A disabled button does nothing.
    void click();

    NIMB::Emitter<GLButtonClickEvent2>& getClickEmitter();
    NIMB::Emitter<GLButtonToggleEvent2>& getToggleEmitter();

protected:
    GLAbstractButton2(QAbstractButton* button, GLWidget2* parent);

private:
    GLAbstractButton2Private* d; // owned
};

} // namespace TAVI
