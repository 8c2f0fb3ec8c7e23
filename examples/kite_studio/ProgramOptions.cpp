#include "examples/kite_studio/ProgramOptions.hpp"

#include <charconv>

namespace KiteStudio {

const char* ProgramOptions::usage() {
    return "usage: kite-studio [MODEL] [--meta-model FILE]... [--screenshot FILE]\n"
           "                   [--recovery-seconds N]\n"
           "\n"
           "Opens MODEL (a .veld model file) in a studio of the domain registered for its\n"
           "model type, or in the generic studio (a model tree and a property browser) when\n"
           "no domain draws it; without MODEL, the bundled sample.\n"
           "\n"
           "  --meta-model FILE       load the meta-model file (.veldmeta) before the model;\n"
           "                          may be given more than once\n"
           "  --screenshot FILE       write a PNG image of the window to FILE and exit\n"
           "  --recovery-seconds N    write unsaved changes to MODEL.recovery after N seconds\n"
           "                          (30 by default)\n"
           "  -h, --help              show this text\n"
           "\n"
           "Without a display (QT_QPA_PLATFORM=offscreen) it writes studio.png, or the\n"
           "--screenshot file, and exits; errors then go to stderr.\n";
}

bool ProgramOptions::parse(const std::vector<std::string>& args, ProgramOptions& options,
                           std::string& error) {
    options = ProgramOptions();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            continue;
        }
        if (arg.empty() || arg[0] != '-') {
            if (!options.modelFile.empty()) {
                error = "only one model file can be opened, not '" + options.modelFile + "' and '" +
                        arg + "'";
                return false;
            }
            options.modelFile = arg;
            continue;
        }
        if (arg != "--meta-model" && arg != "--screenshot" && arg != "--recovery-seconds") {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--meta-model") {
            options.metaModelFiles.push_back(value);
        } else if (arg == "--screenshot") {
            options.screenshotFile = value;
        } else {
            int seconds = 0;
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (ec != std::errc() || end != value.data() + value.size() || seconds < 1) {
                error = "--recovery-seconds needs a whole number of seconds above 0, not '" +
                        value + "'";
                return false;
            }
            options.recoverySeconds = seconds;
        }
    }
    return true;
}

} // namespace KiteStudio
