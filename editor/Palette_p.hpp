// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

namespace KITE {

class Palette;

// The palette's widgets belong to Qt's widget tree, which may delete them without telling the
// palette (the editor's panel goes, say); the palette reaches them through guarded pointers.
class PalettePrivate {
public:
    explicit PalettePrivate(Palette* q) : q(q) {}

    Palette* q;
    QPointer<QWidget> toolBar;
    bool showNames = false;
    std::vector<QPointer<QWidget>> widgets;
    QPointer<QWidget> contextMenu;
};

} // namespace KITE
