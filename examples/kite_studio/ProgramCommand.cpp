#include "examples/kite_studio/ProgramCommand.hpp"

#include "examples/kite_studio/ProgramOptions.hpp"
#include "examples/kite_studio/StudioProgram.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <chrono>
#include <exception>

namespace KiteStudio {

int ProgramCommand::run(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
    ProgramOptions options;
    std::string error;
    if (!ProgramOptions::parse(args, options, error)) {
        err << "kite-studio: " << error << "\n" << ProgramOptions::usage();
        return 2;
    }
    if (options.help) {
        out << ProgramOptions::usage();
        return 0;
    }
    std::unique_ptr<StudioProgram> program;
    try {
        program = StudioProgram::create();
    } catch (const std::exception& e) {
        err << "kite-studio: " << e.what() << "\n";
        return 1;
    }
    const bool headless = QGuiApplication::platformName() == "offscreen";
    const bool screenshot = headless || !options.screenshotFile.empty();
    bool failed = false;
    if (screenshot) {
        // Nobody to answer a message box: errors go to err, questions take their safe answer.
        program->setInteractive(false);
        program->setErrorReporter([&err, &failed](const std::string& text) {
            err << text << "\n";
            failed = true;
        });
    }
    program->setRecoveryInterval(std::chrono::seconds(options.recoverySeconds));
    const std::string model =
        options.modelFile.empty() ? StudioProgram::sampleModelFile() : options.modelFile;
    program->openFile(model, options.metaModelFiles);
    if (screenshot) {
        if (failed)
            return 1;
        program->layOut(false);
        const std::string file =
            options.screenshotFile.empty() ? defaultScreenshot : options.screenshotFile;
        if (!program->saveScreenshot(file, error)) {
            err << "kite-studio: " << error << "\n";
            return 1;
        }
        out << QFileInfo(QString::fromStdString(file)).absoluteFilePath().toStdString() << "\n";
        return 0;
    }
    program->layOut(true);
    // An untitled model a session left unsaved comes back if the user wants it.
    program->offerUntitledRecovery();
    return QApplication::exec();
}

} // namespace KiteStudio
