#pragma once

#include "platform/orbis/orbis_export.hpp"

#include <QMainWindow>

#include <string>

namespace TAVI {
class ErrorHolder;
}

namespace PLATFORM {

class Studio;

// The main window of a studio. Made and destroyed by its Studio; closing it
// closes the studio.
class ORBIS_EXPORT StudioWindow : public QMainWindow {
public:
    ~StudioWindow() override;

    // Sets the window icon from an image file; false (icon unchanged) when the file cannot be read.
    bool setIcon(const std::string& file);
    // As setIcon, reporting an unreadable file as PLATFORM_ImageNotReadable.
    bool setIcon(const std::string& file, TAVI::ErrorHolder& errors);
    // Null once the studio is gone.
    Studio* getStudio() const { return studio; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class Studio;
    friend class StudioPrivate;
    explicit StudioWindow(Studio* studio);
    Studio* studio; // not owned: the studio owns the window
};

} // namespace PLATFORM
