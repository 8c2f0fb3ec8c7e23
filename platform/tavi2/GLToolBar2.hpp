#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <vector>

namespace TAVI {

class GLAction2;

// A row or column of actions (each shown as a tool button) and widgets. A context-menu request
// on the bar reaches getContextMenuEmitter like on any widget.
class TAVI2_EXPORT GLToolBar2 : public GLWidget2 {
public:
    enum Orientation { Horizontal = 0, Vertical = 1 };

    // Throws TypedException when toolkit is not "qt".
    explicit GLToolBar2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLToolBar2() override;

    // Throws TypedException for an orientation other than 0 or 1.
    void setOrientation(int orientation);
    int getOrientation() const;
    // How the buttons show their actions: GLToolButton2's styles.
    void setButtonStyle(int style);
    int getButtonStyle() const;
    void setIconSize(int width, int height);

    // Adds an action at the end; an action that belongs to no widget becomes the bar's.
    // Throws TypedException for null.
    void addAction(GLAction2* action);
    // Adds a widget at the end; the bar owns it. Throws TypedException for null and for the
    // bar or a widget holding it.
    void addWidget(GLWidget2* widget);
    void addSeparator();
    // Actions in order, separators and widgets' places included.
    std::vector<GLAction2*> getActions() const;
    // The button that shows an action; null when the action is not on the bar.
    GLWidget2* getButtonFor(GLAction2* action) const;
};

} // namespace TAVI
