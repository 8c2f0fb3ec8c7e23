// kite-studio: a studio for any model (a registered domain draws it, else the generic studio
// shows it); the bundled sample without arguments. Headless, or with --screenshot, it writes a
// screenshot of the window and exits.

#include "examples/kite_studio/ProgramCommand.hpp"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("kite");
    QApplication::setApplicationName("kite-studio");
    const std::vector<std::string> args(argv + 1, argv + argc);
    return KiteStudio::ProgramCommand::run(args, std::cout, std::cerr);
}
