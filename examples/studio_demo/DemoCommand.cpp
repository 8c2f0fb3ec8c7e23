#include "examples/studio_demo/DemoCommand.hpp"

#include "examples/studio_demo/DemoOptions.hpp"
#include "examples/studio_demo/DemoStudio.hpp"
#include "platform/veld/io/FileError.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <exception>

namespace StudioDemo {

int DemoCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    DemoOptions options;
    std::string error;
    if (!DemoOptions::parse(args, options, error)) {
        err << "studio_demo: " << error << "\n" << DemoOptions::usage();
        return 2;
    }
    if (options.help) {
        out << DemoOptions::usage();
        return 0;
    }
    std::unique_ptr<DemoStudio> demo;
    try {
        demo = DemoStudio::open(options.metaModelFile, options.modelFile);
    } catch (const VELD::FileError& e) {
        err << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "studio_demo: " << e.what() << "\n";
        return 1;
    }
    const bool headless = QGuiApplication::platformName() == "offscreen";
    if (headless || !options.screenshotFile.empty()) {
        demo->layOut(false);
        const std::string file =
            options.screenshotFile.empty() ? defaultScreenshot : options.screenshotFile;
        if (!demo->saveScreenshot(file, error)) {
            err << "studio_demo: " << error << "\n";
            return 1;
        }
        out << QFileInfo(QString::fromStdString(file)).absoluteFilePath().toStdString() << "\n";
        return 0;
    }
    demo->layOut(true);
    return QApplication::exec();
}

} // namespace StudioDemo
