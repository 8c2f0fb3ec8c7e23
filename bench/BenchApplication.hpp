#pragma once

// The QApplication a benchmark program that shows widgets needs, made once per process.

#include <QApplication>
#include <QGraphicsScene>

#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace KITE::Bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

} // namespace KITE::Bench

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

// One T per size, made on first use and kept: a diagram of 100,000 blocks takes seconds to make.
template <typename T> class PerSize {
public:
    explicit PerSize(const char* programName) : programName(programName) {}
    T& get(int n) {
        ensureBenchApplication(programName, true);
        std::unique_ptr<T>& slot = made[n];
        if (!slot)
            slot = std::make_unique<T>(n);
        return *slot;
    }
    void clear() { made.clear(); }

private:
    const char* programName;
    std::map<int, std::unique_ptr<T>> made;
};
