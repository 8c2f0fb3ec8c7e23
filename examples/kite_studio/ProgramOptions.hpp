#pragma once

#include <string>
#include <vector>

namespace KiteStudio {

// What the kite-studio command line asks for.
struct ProgramOptions {
    // Empty: the bundled sample.
    std::string modelFile;
    // Loaded, in order, before the model; the bundled blocks meta-model always is.
    std::vector<std::string> metaModelFiles;
    // Empty unless --screenshot was given.
    std::string screenshotFile;
    // How long changes may stay unsaved before they are written to the recovery file.
    int recoverySeconds = 30;
    bool help = false;

    // Parses the arguments after the program name; false with a message in error for an
    // unknown option, an option without its value, or a second model file.
    static bool parse(const std::vector<std::string>& args, ProgramOptions& options,
                      std::string& error);
    static const char* usage();
};

} // namespace KiteStudio
