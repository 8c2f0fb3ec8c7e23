#pragma once

// The element visitors: display text, writing it back, and whether it may be edited in place.
#include "studio/components/DefaultElementDescriber.hpp"
#include "studio/components/DefaultElementIsEditableObject.hpp"
#include "studio/components/DefaultElementSetDescription.hpp"
#include "studio/components/ElementDescriberBase.hpp"
#include "studio/components/ElementIsEditableObjectBase.hpp"
#include "studio/components/ElementSetDescriptionBase.hpp"
