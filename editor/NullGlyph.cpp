#include "editor/NullGlyph.hpp"
