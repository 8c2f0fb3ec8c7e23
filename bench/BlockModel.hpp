#pragma once

// The benchmarks' model: a System of N Blocks (name, x, y, width, height) and N/2 Links between
// consecutive blocks, made in one transaction.

#include "platform/veld/Veld.hpp"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

namespace BenchModel {

struct Meta {
    VELD::ImmutableClass system, block, link;
    VELD::ImmutableProperty blocks, links, name, x, y, width, height, target, linkName, src, dst;

    static const Meta& get() {
        static const Meta m = [] {
            VELD::MetaModelBuilder b("bench", "bench:blocks");
            b.addClass("System").containment("blocks", "Block").containment("links", "Link");
            b.addClass("Block")
                .attribute("name", "String")
                .attribute("x", "Double")
                .attribute("y", "Double")
                .attribute("width", "Double")
                .attribute("height", "Double")
                .containment("children", "Block")
                .reference("target", "Block");
            b.addClass("Link")
                .attribute("name", "String")
                .reference("src", "Block")
                .reference("dst", "Block");
            b.setModelClass("System");
            const VELD::ImmutableNamespace pkg = b.build();
            Meta r;
            r.system = pkg.getClass("System");
            r.block = pkg.getClass("Block");
            r.link = pkg.getClass("Link");
            r.blocks = r.system.getProperty("blocks");
            r.links = r.system.getProperty("links");
            r.name = r.block.getProperty("name");
            r.x = r.block.getProperty("x");
            r.y = r.block.getProperty("y");
            r.width = r.block.getProperty("width");
            r.height = r.block.getProperty("height");
            r.target = r.block.getProperty("target");
            r.linkName = r.link.getProperty("name");
            r.src = r.link.getProperty("src");
            r.dst = r.link.getProperty("dst");
            return r;
        }();
        return m;
    }
};

struct Built {
    VELD::Model model;
    std::vector<VELD::ClassObject> blocks; // only when asked for
};

inline Built build(std::int64_t n, bool keepHandles) {
    const Meta& m = Meta::get();
    Built out{VELD::DomainRegistry::instance().createModel("bench:blocks"), {}};
    const VELD::FactoryObject factory = out.model.getFactory();
    const VELD::ClassObject system = out.model.getRootObject();
    if (keepHandles)
        out.blocks.reserve(n);
    VELD::Transaction t(out.model);
    VELD::ClassObject previous;
    char blockName[32] = "Block";
    char linkName[32] = "Link";
    auto numbered = [](char* buffer, std::size_t prefix, std::int64_t i) {
        char* end = std::to_chars(buffer + prefix, buffer + 31, i).ptr;
        return std::string_view(buffer, end - buffer);
    };
    for (std::int64_t i = 0; i < n; ++i) {
        VELD::ClassObject b = factory.create(m.block);
        b.setString(m.name, numbered(blockName, 5, i));
        b.setDouble(m.x, double(i % 1000) * 20.5);
        b.setDouble(m.y, double(i / 1000) * 20);
        b.setDouble(m.width, 10);
        b.setDouble(m.height, 10);
        system.add(m.blocks, b);
        if (i % 2 == 1) {
            VELD::ClassObject l = factory.create(m.link);
            l.setString(m.linkName, numbered(linkName, 4, i / 2));
            l.setObject(m.src, previous);
            l.setObject(m.dst, b);
            system.add(m.links, l);
        }
        if (keepHandles)
            out.blocks.push_back(b);
        previous = b;
    }
    t.commit();
    return out;
}

} // namespace BenchModel
