#pragma once

// The icon controllers: the icon of an object, resolved through its class hierarchy.
#include "studio/components/DefaultGetIcon.hpp"
#include "studio/components/GetIconBase.hpp"
#include "studio/components/IconNode.hpp"
