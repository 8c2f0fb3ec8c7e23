#pragma once

#include "platform/zeph/DragEvent.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/Tool.hpp"
#include "platform/zeph/WheelEvent.hpp"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace ZephTest {

// A tool that writes "name:what" to a shared log for every call it gets,
// consumes the events it is told to, and reports done when told to.
class RecordingTool : public ZEPH::Tool {
public:
    RecordingTool(std::string name, std::vector<std::string>* log,
                  std::set<std::string> consumes = {}, TAVI::StringID role = "Probe")
        : name(std::move(name)), log(log), consumes(std::move(consumes)), role(role) {}

    void handleMouseMoveEvent(ZEPH::MouseEvent& e) override { record("move", e); }
    void handleMousePressEvent(ZEPH::MouseEvent& e) override { record("press", e); }
    void handleMouseReleaseEvent(ZEPH::MouseEvent& e) override { record("release", e); }
    void handleMouseDoubleClickEvent(ZEPH::MouseEvent& e) override { record("double", e); }
    void handleDragEvent(ZEPH::DragEvent& e) override { record("drag", e); }
    void handleDropEvent(ZEPH::DragEvent& e) override { record("drop", e); }
    void handleFocusInEvent(ZEPH::Event& e) override { record("focusIn", e); }
    void handleFocusOutEvent(ZEPH::Event& e) override { record("focusOut", e); }
    void handleEnterCanvasEvent(ZEPH::Event& e) override { record("enter", e); }
    void handleLeaveCanvasEvent(ZEPH::Event& e) override { record("leave", e); }
    void handleContextMenuEvent(ZEPH::MouseEvent& e) override { record("context", e); }
    void handleWheelEvent(ZEPH::WheelEvent& e) override { record("wheel", e); }
    void handleKeyPressEvent(ZEPH::KeyEvent& e) override { record("keyPress", e); }
    void handleKeyReleaseEvent(ZEPH::KeyEvent& e) override { record("keyRelease", e); }

    void onRemoveFromStack() override { log->push_back(name + ":removed"); }
    bool isDone() const override { return done; }
    TAVI::StringID getDefaultRole() const override { return role; }
    bool requiresKeyAutoRepeat() const override { return wantsAutoRepeat; }

    std::string name;
    std::vector<std::string>* log;
    std::set<std::string> consumes;
    TAVI::StringID role;
    bool done = false;
    bool wantsAutoRepeat = false;
    std::set<std::string> doneAfter; // events after which the tool reports done
    std::function<void(const std::string&, ZEPH::Event&)> onEvent; // runs before consuming

private:
    void record(const std::string& what, ZEPH::Event& event) {
        log->push_back(name + ":" + what);
        if (onEvent)
            onEvent(what, event);
        if (consumes.count(what))
            event.consume();
        if (doneAfter.count(what))
            done = true;
    }
};

} // namespace ZephTest
