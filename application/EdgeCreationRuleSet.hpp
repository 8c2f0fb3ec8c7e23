#pragma once

#include "application/kite_application_export.hpp"
#include "platform/veld/Meta.hpp"

namespace KITE {

class EdgeCreationRuleSetPrivate;

// Which kinds of node may start and which may end which kind of edge. Node kinds are the
// diagram model's GraphNode class or classes derived from it, edge kinds GraphEdge or its
// subclasses. A rule adds a start entry and an end entry; answers match classes exactly, so a
// rule for a class does not cover its subclasses. Each domain owns one set.
class KITE_APPLICATION_EXPORT EdgeCreationRuleSet {
public:
    EdgeCreationRuleSet();
    virtual ~EdgeCreationRuleSet();
    EdgeCreationRuleSet(const EdgeCreationRuleSet&) = delete;
    EdgeCreationRuleSet& operator=(const EdgeCreationRuleSet&) = delete;

    // Edges of class edge may start at src nodes and end at dst nodes. Throws
    // TAVI::TypedException when a class is not of its kind, adding nothing.
    void createAsymmetricRule(const VELD::ImmutableClass& src, const VELD::ImmutableClass& dst,
                              const VELD::ImmutableClass& edge);
    // The same in both directions.
    void createRule(const VELD::ImmutableClass& src, const VELD::ImmutableClass& dst,
                    const VELD::ImmutableClass& edge);

    // False, never an exception, for classes that are not of their kind.
    bool isValidSrcNodeToEdge(const VELD::ImmutableClass& node,
                              const VELD::ImmutableClass& edge) const;
    bool isValidDstNodeToEdge(const VELD::ImmutableClass& node,
                              const VELD::ImmutableClass& edge) const;

protected:
    EdgeCreationRuleSetPrivate* getImpl() { return d; }
    const EdgeCreationRuleSetPrivate* getImpl() const { return d; }

private:
    EdgeCreationRuleSetPrivate* d; // owned
};

} // namespace KITE
