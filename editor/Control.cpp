#include "editor/Control.hpp"
