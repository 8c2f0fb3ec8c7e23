#include "editor/GlyphFactory.hpp"
