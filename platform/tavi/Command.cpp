#include "platform/tavi/Command.hpp"

namespace TAVI {

Command::Command() = default;
Command::~Command() = default;

Command::State Command::getState() const {
    return state;
}
bool Command::canUndo() const {
    return state == Done;
}
bool Command::canRedo() const {
    return state == Undone;
}
std::string Command::longDescription() const {
    return shortDescription();
}

} // namespace TAVI
