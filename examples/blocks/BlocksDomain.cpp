#include "examples/blocks/BlocksDomain.hpp"

#include "application/DomainRegistry.hpp"
#include "editor/Editor.hpp"
#include "examples/blocks/BlocksDeleteTool.hpp"
#include "examples/blocks/BlocksDomainInterface.hpp"
#include "examples/blocks/BlocksEditor.hpp"
#include "examples/blocks/BlocksGlyphFactory.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "studio/components/DefaultElementDescriber.hpp"
#include "studio/components/DefaultGetChildren.hpp"
#include "studio/components/DefaultGetIcon.hpp"
#include "utils/BasicCompositeFilter.hpp"

namespace Blocks {

namespace {

// The first of the domain's classes the kernel does not know; empty when all are loaded.
std::string missingClass() {
    for (const char* name : {BlocksDomain::modelType, BlocksDomain::blockClassName,
                             BlocksDomain::sinkClassName, BlocksDomain::connectionClassName})
        if (!VELD::DomainRegistry::instance().findClass(name).isValid())
            return name;
    return {};
}

} // namespace

BlocksDomain::BlocksDomain() : glyphs(std::make_unique<BlocksGlyphFactory>()) {}

BlocksDomain::~BlocksDomain() = default;

BlocksDomain* BlocksDomain::get() {
    // The held count keeps the domain alive whoever else lets go of it.
    static const TAVI::Holder<BlocksDomain> domain(new BlocksDomain());
    return domain.get();
}

bool BlocksDomain::registerDomain(TAVI::ErrorHolder& errors) {
    KITE::DomainRegistry* registry = KITE::DomainRegistry::instance();
    if (registry->isRegistered(TAVI::StringID(domainName)))
        return true;
    if (const std::string missing = missingClass(); !missing.empty()) {
        errors.setError(TAVI::SimpleErrorDescription(
            TAVI_HERE,
            "BlocksDomain::registerDomain: the meta-model class " + missing + " is not loaded",
            "Blocks_MetaModelMissing"));
        return false;
    }
    if (!BlocksEditor::registerFactory(errors))
        return false;
    BlocksDomain* domain = get();
    domain->initializeEdgeCreationRuleSet();
    registry->registerDomain(TAVI::Holder<KITE::AbstractKiteDomain>(domain), errors);
    return !errors.hasError();
}

PLATFORM::Util::MenuInterface BlocksDomain::getMenuInterface() const {
    static const PLATFORM::Util::MenuInterface menus("studioGetDefaultInterface", "");
    return menus;
}

PLATFORM::AbstractDomainInterface* BlocksDomain::createInterface(PLATFORM::Studio* studio) const {
    return new BlocksDomainInterface(studio);
}

KITE::AbstractKiteDomainInterface*
BlocksDomain::createKiteInterface(PLATFORM::Studio* studio) const {
    return new BlocksDomainInterface(studio);
}

TAVI::StringID BlocksDomain::getName() const {
    return TAVI::StringID(domainName);
}

TAVI::StringID BlocksDomain::getModelClassFullName() const {
    return TAVI::StringID(modelType);
}

KITE::GlyphFactory* BlocksDomain::getGlyphFactory() const {
    return glyphs.get();
}

void BlocksDomain::initializeEdgeCreationRuleSet() {
    // A second set of the same rules would answer the same, but the set would grow each call.
    if (rulesMade)
        return;
    const VELD::DomainRegistry& classes = VELD::DomainRegistry::instance();
    const VELD::ImmutableClass block = classes.findClass(blockClassName);
    const VELD::ImmutableClass sink = classes.findClass(sinkClassName);
    const VELD::ImmutableClass connection = classes.findClass(connectionClassName);
    if (!block.isValid() || !sink.isValid() || !connection.isValid())
        return;
    // Signals flow either way between blocks: one rule from a block to a block covers both ends.
    // A sink only takes them in: rules match classes exactly, so no rule lets a sink start one.
    getEdgeCreationRuleSet().createAsymmetricRule(block, block, connection);
    getEdgeCreationRuleSet().createAsymmetricRule(block, sink, connection);
    rulesMade = true;
}

void BlocksDomain::installTools(KITE::Editor* editor) const {
    AbstractKiteDomain::installTools(editor);
    editor->addTool(TAVI::Holder<ZEPH::Tool>(new BlocksDeleteTool(*editor)));
}

const boost::shared_ptr<KITE::GetIconBase>& BlocksDomain::getIconController() const {
    static const boost::shared_ptr<KITE::GetIconBase> icons(new KITE::DefaultGetIcon());
    return icons;
}

const boost::shared_ptr<KITE::ElementDescriberBase>& BlocksDomain::getElementDescriber() const {
    static const boost::shared_ptr<KITE::ElementDescriberBase> describer(
        new KITE::DefaultElementDescriber());
    return describer;
}

boost::shared_ptr<KITE::GetChildrenBase> BlocksDomain::getTreePopulator() {
    const boost::shared_ptr<KITE::Util::FilterBase> filter(
        new KITE::Util::BasicCompositeFilter("Tree", true, false));
    return boost::shared_ptr<KITE::GetChildrenBase>(
        new KITE::DefaultGetChildren(filter, std::string(), filter));
}

} // namespace Blocks
