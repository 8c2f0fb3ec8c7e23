#include "examples/studio_demo/DemoOptions.hpp"

namespace StudioDemo {

DemoOptions DemoOptions::defaults() {
    DemoOptions options;
    options.modelFile = std::string(KITE_STUDIO_DEMO_DATA_DIR) + "/plant.veld";
    options.metaModelFile = std::string(KITE_STUDIO_DEMO_DATA_DIR) + "/blocks.veldmeta";
    return options;
}

const char* DemoOptions::usage() {
    return "usage: studio_demo [--model FILE --meta-model FILE] [--screenshot FILE]\n";
}

bool DemoOptions::parse(const std::vector<std::string>& args, DemoOptions& options,
                        std::string& error) {
    options = defaults();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            continue;
        }
        std::string* target = nullptr;
        if (arg == "--model") {
            target = &options.modelFile;
        } else if (arg == "--meta-model") {
            target = &options.metaModelFile;
        } else if (arg == "--screenshot") {
            target = &options.screenshotFile;
        } else {
            error = "unknown argument '" + arg + "'";
            return false;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = arg + " needs a file name";
            return false;
        }
        *target = args[++i];
    }
    return true;
}

} // namespace StudioDemo
