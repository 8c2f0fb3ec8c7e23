#pragma once

#include "application/AbstractKiteDomain.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

#include <memory>

namespace TAVI {
class ErrorHolder;
}

namespace Blocks {

class BlocksGlyphFactory;

// The domain of block diagrams: models of the "blocks" meta-model, whose Project holds
// diagrams of Blocks joined by Connections. It draws them with BlocksGlyphFactory, lets a
// Connection go from a Block to a Block or to a Sink (a sink starts none), and gives its editors
// the library's default tools with a resize that respects each glyph's smallest size, and a
// delete tool. One per process (get()); the domain registry holds it once registered.
class KITE_EXAMPLE_BLOCKS_EXPORT BlocksDomain : public KITE::AbstractKiteDomain {
public:
    static constexpr const char* domainName = "BlocksDomain";
    // The model type: the meta-model's model class, as the registry keys it.
    static constexpr const char* modelType = "blocks.Project";
    static constexpr const char* blockClassName = "blocks.Block";
    static constexpr const char* sinkClassName = "blocks.Sink";
    static constexpr const char* connectionClassName = "blocks.Connection";

    static BlocksDomain* get();
    // Registers get() with the library's domain registry, and the factory of its editors with
    // the studio framework; a later call finds them there and does nothing. The blocks meta-model
    // must be loaded first, since the edge rules name its classes: without it nothing is registered
    // and errors says which class is missing. Answers whether the domain is registered afterwards.
    static bool registerDomain(TAVI::ErrorHolder& errors);

    ~BlocksDomain() override;

    PLATFORM::Util::MenuInterface getMenuInterface() const override;
    PLATFORM::AbstractDomainInterface* createInterface(PLATFORM::Studio* studio) const override;
    TAVI::StringID getName() const override;
    TAVI::StringID getModelClassFullName() const override;
    // Kept by the domain for the whole process; editors do not own it.
    KITE::GlyphFactory* getGlyphFactory() const override;
    // Connections from a block to a block or to a sink; the meta-model must be loaded. Rules are
    // added once.
    void initializeEdgeCreationRuleSet() override;
    // The library's default tools, and a BlocksDeleteTool on top.
    void installTools(KITE::Editor* editor) const override;
    const boost::shared_ptr<KITE::GetIconBase>& getIconController() const override;
    const boost::shared_ptr<KITE::ElementDescriberBase>& getElementDescriber() const override;
    boost::shared_ptr<KITE::GetChildrenBase> getTreePopulator() override;
    KITE::AbstractKiteDomainInterface* createKiteInterface(PLATFORM::Studio* studio) const override;

private:
    BlocksDomain();

    std::unique_ptr<BlocksGlyphFactory> glyphs;
    bool rulesMade = false;
};

} // namespace Blocks
