#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace KiteStudio {

// What kite-studio does with its command line (needs a QApplication). Headless (the
// "offscreen" platform) or with --screenshot it lays the window out, saves a screenshot
// (studio.png unless told otherwise), prints the file's path and returns 0; otherwise it shows
// the window and runs the event loop until the window closes. A file that cannot be read is
// shown as "file:line:column: reason" (on err when headless, which then gives 1) and the window
// opens without it; a bad command line gives 2.
class ProgramCommand {
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    static constexpr const char* defaultScreenshot = "studio.png";
};

} // namespace KiteStudio
