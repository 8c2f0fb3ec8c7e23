#pragma once

#include <string>
#include <vector>

namespace StudioDemo {

// What the command line asks for: which files to open and where a screenshot goes.
struct DemoOptions {
    std::string modelFile;
    std::string metaModelFile;
    // Empty unless --screenshot was given.
    std::string screenshotFile;
    bool help = false;

    // The sample files that come with the demo.
    static DemoOptions defaults();
    // Parses the arguments after the program name; false with a message in error for an
    // unknown option or one without its value.
    static bool parse(const std::vector<std::string>& args, DemoOptions& options,
                      std::string& error);
    static const char* usage();
};

} // namespace StudioDemo
