#include "editor/Graphics.hpp"
