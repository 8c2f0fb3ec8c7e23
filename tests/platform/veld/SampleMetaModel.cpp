#include "tests/platform/veld/SampleMetaModel.hpp"

using namespace VELD;

const Sample& Sample::get() {
    static const Sample s = [] {
        MetaModelBuilder b("lib", uri);
        b.addEnumeration("Color", {"Red", "Green", "Blue"});
        b.addClass("System")
            .attribute("name", "String")
            .containment("blocks", "Block")
            .containment("links", "Link");
        PropertySpec color{"color", "Color"};
        color.defaultValue = "Green";
        PropertySpec count{"count", "Integer"};
        count.defaultValue = "7";
        PropertySpec serial{"serial", "String"};
        serial.readOnly = true;
        PropertySpec childCount{"childCount", "Integer"};
        childCount.derived = true;
        childCount.deriver = [](const ImmutableClassObject& o) {
            const auto kids = o.get(o.getMetaClass().getProperty("children"));
            return std::vector<ImmutableObject>{ImmutableObject::fromInteger(kids.size())};
        };
        b.addClass("Block")
            .attribute("name", "String")
            .attribute("x", "Double")
            .attribute("y", "Double")
            .containment("children", "Block")
            .reference("target", "Block")
            .property(color)
            .attribute("tags", "String", true)
            .property(count)
            .property(serial)
            .property(childCount);
        b.addClass("Link")
            .attribute("name", "String")
            .reference("src", "Block")
            .reference("dst", "Block");
        b.addClass("Special", {"Block"})
            .attribute("flag", "Boolean")
            .attribute("limit", "UnlimitedNatural");
        b.setModelClass("System");
        Sample r;
        r.package = b.build();
        r.system = r.package.getClass("System");
        r.block = r.package.getClass("Block");
        r.link = r.package.getClass("Link");
        r.special = r.package.getClass("Special");
        r.name = r.block.getProperty("name");
        r.blocks = r.system.getProperty("blocks");
        r.links = r.system.getProperty("links");
        r.x = r.block.getProperty("x");
        r.y = r.block.getProperty("y");
        r.children = r.block.getProperty("children");
        r.target = r.block.getProperty("target");
        r.color = r.block.getProperty("color");
        r.tags = r.block.getProperty("tags");
        r.count = r.block.getProperty("count");
        r.serial = r.block.getProperty("serial");
        r.childCount = r.block.getProperty("childCount");
        r.src = r.link.getProperty("src");
        r.dst = r.link.getProperty("dst");
        r.flag = r.special.getProperty("flag");
        r.limit = r.special.getProperty("limit");
        return r;
    }();
    return s;
}

ClassObject Sample::makeBlock(const Model& m, const std::string& blockName, double px) const {
    ClassObject b = m.getFactory().createFromString("Block");
    b.setString(name, blockName);
    b.setDouble(x, px);
    m.getRootObject().add(blocks, b);
    return b;
}
