#pragma once

// The control filters: which attributes, values and classes the views offer.
#include "utils/BasicCompositeFilter.hpp"
#include "utils/BuildClassList.hpp"
#include "utils/ControlFilterBase.hpp"
#include "utils/FastStringLess.hpp"
#include "utils/FilterBase.hpp"
#include "utils/FilterTestResult.hpp"
#include "utils/XMLFilterBase.hpp"
#include "utils/XMLFilterMatch.hpp"
#include "utils/XMLFilterNamedTypeMatch.hpp"
