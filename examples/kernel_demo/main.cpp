// Builds a small block diagram, edits it in transactions, previews a move in a working copy,
// and undoes and redoes, printing what the kernel reports at each step.

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Veld.hpp"

#include <cstdio>

using namespace VELD;

namespace {

struct Printer {
    const char* who;
    void transactionCompleted(const ReportOfChanges<KITE::DiagramElement>& r) {
        std::printf("  %s report: %d added, %d removed, %d modified\n", who, r.getAdded().size(),
                    r.getRemoved().size(), r.getModified().size());
        for (const KITE::DiagramElement& e : r.getModified()) {
            const auto before = r.getOldState(e).getPosition();
            const auto now = e.getPosition();
            if (!(before == now))
                std::printf("    %s moved from (%g, %g) to (%g, %g)\n", e.toString().c_str(),
                            before.x, before.y, now.x, now.y);
        }
    }
};

void show(const char* title, const KITE::ImmutableDiagram& d) {
    std::printf("%s: diagram '%s'\n", title, d.getFullName().c_str());
    for (const KITE::DiagramElement& e : d.getContained()) {
        const auto p = e.getAbsPosition();
        std::printf("    %-28s at (%g, %g)\n", e.toString().c_str(), p.x, p.y);
    }
}

} // namespace

int main() {
    KITE::diagramMetaModel();
    MetaModelBuilder builder("demo", "demo:blocks");
    builder.addClass("Block", {"KITE.GraphNode"}).attribute("name", "String");
    builder.addClass("Connection", {"KITE.GraphEdge"});
    builder.addClass("Project").attribute("name", "String").containment("diagrams", "KITE.Diagram");
    builder.setModelClass("Project");
    const ImmutableNamespace demo = builder.build();
    std::printf("Registered meta-model '%s' (%s) with %d classes\n", demo.getName().c_str(),
                demo.getUri().c_str(), demo.getOwnedMembers().size());

    Model model = DomainRegistry::instance().createModel("demo:blocks");
    const ImmutableClass block = demo.getClass("Block");
    Printer rootPrinter{"root"};
    internal::ListenerHolder<ImmutableModel, Printer, KITE::DiagramElement> rootListener(
        &rootPrinter);
    model.registerObservingListener(&rootListener);

    std::printf("\n1. One transaction builds a diagram with two blocks and a connection\n");
    KITE::Diagram diagram;
    KITE::GraphNode source, sink;
    {
        Transaction t(model, "build");
        ClassObject project = model.getRootObject();
        project.setString(project.getMetaClass().getProperty("name"), "demo project");
        diagram = KITE::Factory::createNewFactory(model).createDiagram("controller");
        project.add(project.getMetaClass().getProperty("diagrams"), diagram);
        source = KITE::GraphNode(model.getFactory().createFromString("Block"));
        sink = KITE::GraphNode(model.getFactory().createFromString("Block"));
        ClassObject(source).setString(block.getProperty("name"), "Gain");
        ClassObject(sink).setString(block.getProperty("name"), "Scope");
        diagram.addContained(source);
        diagram.addContained(sink);
        source.setPosition({20, 40});
        sink.setPosition({200, 40});
        KITE::GraphEdge wire(model.getFactory().createFromString("Connection"));
        diagram.addContained(wire);
        wire.setSrcElement(source);
        wire.setDstElement(sink);
        t.commit();
    }
    show("   model", diagram);

    std::printf("\n2. A working copy previews a move; the model does not see it\n");
    Model copy = model.createDeviantWithName("1");
    Printer copyPrinter{"working copy"};
    internal::ListenerHolder<ImmutableModel, Printer, KITE::DiagramElement> copyListener(
        &copyPrinter);
    copy.registerObservingListener(&copyListener);
    {
        Transaction t(copy, "preview");
        KITE::DiagramElement(source.asDeviant(copy)).setPosition({60, 90});
        t.commit();
    }
    show("   working copy", diagram.asDeviant(copy));
    show("   model", diagram);

    std::printf("\n3. The move is committed to the model; the working copy syncs\n");
    {
        Transaction t(model, "move");
        source.setPosition({60, 90});
        t.commit();
    }
    copy.syncFromRoot();
    std::printf("   change level %d, working copy deviates: %s\n", model.getCurrentChangeLevel(),
                copy.hasObjectsDeviatingFromRoot() ? "yes" : "no");

    std::printf("\n4. Undo and redo move the whole model between change levels\n");
    model.undoToChangeLevel(1);
    show("   after undo", diagram);
    model.redoToChangeLevel(2);
    show("   after redo", diagram);

    std::printf("\n5. Bad input is refused and changes nothing\n");
    try {
        Transaction t(model);
        ClassObject(source).set(block.getProperty("name"),
                                ValueObjectFactory::createFromString("Integer", "abc"));
    } catch (const Exception& e) {
        std::printf("   refused: %s\n", e.what());
    }
    std::printf("   '%s' is still named %s\n", source.toString().c_str(),
                source.getOne("name").toString().c_str());

    copy.unregisterObservingListener(&copyListener);
    model.unregisterObservingListener(&rootListener);
    model.removeDeviantWithName("1");
    return 0;
}
