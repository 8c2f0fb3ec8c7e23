#pragma once

// The QApplication a benchmark program that shows widgets needs, made once per process.

#include <QApplication>
#include <QGraphicsScene>

#include <string>

// Offscreen unless a platform is set. With warmFonts, the process's font loading happens here,
// so that it does not count against whichever benchmark runs first.
inline void ensureBenchApplication(const char* programName, bool warmFonts) {
    if (QCoreApplication::instance())
        return;
    static std::string name = programName;
    static int argc = 1;
    static char* argv[] = {name.data(), nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    if (warmFonts) {
        QGraphicsScene warmUp;
        warmUp.addSimpleText("Block 0");
        warmUp.items(QPointF(-1e9, -1e9));
    }
}
