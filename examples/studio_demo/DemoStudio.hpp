#pragma once

#include "examples/studio_demo/DemoModel.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/Holder.hpp"

#include <memory>
#include <string>

namespace StudioDemo {

class DiagramCanvasComponent;
class ModelTreeComponent;
class StatusComponent;

// A studio window on a model: the model tree docked on the left, the diagram on a canvas
// in a tab, and a count of blocks and connections in the status area.
class DemoStudio {
public:
    // Loads the files and makes the window (not shown yet). Throws VELD::FileError when a
    // file cannot be read, before any window exists, and std::runtime_error when the window
    // cannot be made (none is left open then).
    static std::unique_ptr<DemoStudio> open(const std::string& metaModelFile, const std::string& modelFile);
    // Closes the window.
    ~DemoStudio();
    DemoStudio(const DemoStudio&) = delete;
    DemoStudio& operator=(const DemoStudio&) = delete;

    PLATFORM::Studio* getStudio() const { return studio.get(); }
    const DemoModel& getDemoModel() const { return model; }
    ModelTreeComponent* getTree() const { return tree.get(); }
    DiagramCanvasComponent* getCanvas() const { return canvas.get(); }
    StatusComponent* getStatus() const { return status.get(); }

    // Gives the window its size and shows it (onScreen false keeps it off every screen, for
    // screenshots), lets it lay out, and fits the diagram into the canvas.
    void layOut(bool onScreen);
    // Writes a PNG image of the window; false with the reason in error when it cannot.
    bool saveScreenshot(const std::string& file, std::string& error);

    static constexpr int defaultWidth = 1200;
    static constexpr int defaultHeight = 760;
    static constexpr int treeWidth = 290;

private:
    explicit DemoStudio(DemoModel model);
    void build();

    DemoModel model;
    TAVI::Holder<PLATFORM::Studio> studio;
    TAVI::Holder<ModelTreeComponent> tree;
    TAVI::Holder<DiagramCanvasComponent> canvas;
    TAVI::Holder<StatusComponent> status;
};

} // namespace StudioDemo
