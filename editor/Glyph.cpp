#include "editor/Glyph.hpp"
