// A studio on a sample model: the model tree, the property browser, the diagram on a canvas, a
// status line.
// Headless, or with --screenshot, it writes a screenshot of the window and exits.

#include "examples/studio_demo/DemoCommand.hpp"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return StudioDemo::DemoCommand::run(args, std::cout, std::cerr);
}
