#pragma once

// The whole kernel interface.
#include "platform/veld/Asserter.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/CooperativeVisitor.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/Report.hpp"
#include "platform/veld/Sequence.hpp"
