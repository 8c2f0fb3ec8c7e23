#pragma once

namespace KITE {

// Where StudioApp::openEditor shows an editor it brings forward.
enum class EditorOpenType : int {
    REUSE_TAB = 0,  // in the current tab, in place of what it shows (which stays open)
    NEW_TAB = 1,    // every editor in a tab of its own
    NEW_WINDOW = 2, // in a new studio window
};

} // namespace KITE
