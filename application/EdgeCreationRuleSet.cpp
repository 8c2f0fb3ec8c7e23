#include "application/EdgeCreationRuleSet.hpp"

#include "application/EdgeCreationRuleSet_p.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/TypedException.hpp"

namespace KITE {

namespace {

// A kind is the class itself or any class derived from it, however indirectly: a client's
// subclass of its own node class is a node too.
bool isKind(const VELD::ImmutableClass& cls, const VELD::ImmutableClass& kind) {
    return cls.isValid() && VELD::isa(cls, kind);
}

bool isNodeKind(const VELD::ImmutableClass& cls) {
    return isKind(cls, ImmutableGraphNode::MetaClass());
}

bool isEdgeKind(const VELD::ImmutableClass& cls) {
    return isKind(cls, ImmutableGraphEdge::MetaClass());
}

} // namespace

bool EdgeCreationRuleSetPrivate::contains(const Relation& relation,
                                          const VELD::ImmutableClass& node,
                                          const VELD::ImmutableClass& edge) {
    for (const VELD::ImmutableClass& e : relation.values(node))
        if (e == edge)
            return true;
    return false;
}

EdgeCreationRuleSet::EdgeCreationRuleSet() : d(new EdgeCreationRuleSetPrivate) {}

EdgeCreationRuleSet::~EdgeCreationRuleSet() {
    delete d;
}

void EdgeCreationRuleSet::createAsymmetricRule(const VELD::ImmutableClass& src,
                                               const VELD::ImmutableClass& dst,
                                               const VELD::ImmutableClass& edge) {
    if (!isNodeKind(src) || !isNodeKind(dst) || !isEdgeKind(edge))
        throw TAVI::TypedException(TAVI_HERE,
                                   "Passed invalid VELD::ImmutableClass to EdgeCreationRuleSet");
    if (isValidSrcNodeToEdge(src, edge) && isValidDstNodeToEdge(dst, edge))
        return;
    d->sources.insertMulti(src, edge);
    d->destinations.insertMulti(dst, edge);
}

void EdgeCreationRuleSet::createRule(const VELD::ImmutableClass& src,
                                     const VELD::ImmutableClass& dst,
                                     const VELD::ImmutableClass& edge) {
    createAsymmetricRule(src, dst, edge);
    createAsymmetricRule(dst, src, edge);
}

bool EdgeCreationRuleSet::isValidSrcNodeToEdge(const VELD::ImmutableClass& node,
                                               const VELD::ImmutableClass& edge) const {
    return isNodeKind(node) && isEdgeKind(edge) &&
           EdgeCreationRuleSetPrivate::contains(d->sources, node, edge);
}

bool EdgeCreationRuleSet::isValidDstNodeToEdge(const VELD::ImmutableClass& node,
                                               const VELD::ImmutableClass& edge) const {
    return isNodeKind(node) && isEdgeKind(edge) &&
           EdgeCreationRuleSetPrivate::contains(d->destinations, node, edge);
}

} // namespace KITE
