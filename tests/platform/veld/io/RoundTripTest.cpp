#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>

#include <sys/stat.h>

using namespace VELD;

namespace {

class RoundTripTest : public testing::Test {
protected:
    const IoMeta& m = IoMeta::get();
    Model model = m.newModel();
    std::filesystem::path dir;

    void SetUp() override {
        char tmpl[] = "/tmp/veld-io-XXXXXX";
        dir = mkdtemp(tmpl);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    ClassObject item(const ClassObject& owner, const ImmutableProperty& where,
                     const std::string& label) {
        ClassObject o = Model(owner.getModelVELD()).getFactory().create(m.item);
        owner.add(where, o);
        o.setString(m.label, label);
        return o;
    }

    // Saves, loads back and checks the copy; also that saving the copy gives the same bytes.
    Model roundTrip() {
        const std::string path = (dir / "model.veld").string();
        saveModel(model, path);
        Model copy = loadModel(path);
        EXPECT_TRUE(sameModel(model, copy));
        EXPECT_EQ(writeModel(copy), readBytes(path)) << "ids or order changed on the second save";
        return copy;
    }
};

TEST_F(RoundTripTest, EveryKindOfValueComesBackEqualAndTheModelStartsFresh) {
    commit(model, [&] {
        ClassObject doc = model.getRootObject();
        doc.setString(m.title, "Plan");
        ClassObject a = item(doc, m.items, "a");
        ClassObject b = item(doc, m.items, "b");
        ClassObject deep = item(b, m.parts, "deep");
        ClassObject spare = model.getFactory().create(m.item);
        a.set(m.spare, spare);
        a.setDouble(m.weight, 2.5);
        a.setInteger(m.count, -42);
        a.set(m.big, ImmutableObject::fromUnlimitedNatural(-1));
        b.set(m.big, ImmutableObject::fromUnlimitedNatural(17));
        a.setBoolean(m.on, false);
        b.setBoolean(m.on, true);
        a.set(m.mood, ValueObjectFactory::createFromString("io.Mood", "Loud"));
        for (const char* mood : {"Odd", "Calm", "Odd"})
            a.add(m.moods, ValueObjectFactory::createFromString("io.Mood", mood));
        for (const char* tag : {"z", "a", "z", ""})
            a.add(m.tags, ImmutableObject::fromString(tag));
        // References: forward, backward, across containment, into a single containment.
        a.setObject(m.next, deep);
        deep.setObject(m.next, a);
        for (const ClassObject& peer : {spare, deep, b, a})
            a.add(m.peers, peer);
        doc.setObject(m.favourite, deep);
        doc.add(m.pinned, b);
        doc.add(m.pinned, spare);
        doc.add(m.pinned, b); // a reference list may name an object more than once
    });
    Model copy = roundTrip();
    EXPECT_EQ(copy.getCurrentChangeLevel(), 0);
    EXPECT_EQ(copy.getUndoStackLength(), 0);
    EXPECT_EQ(copy.getRedoStackLength(), 0);
    EXPECT_FALSE(copy.hasObjectsDeviatingFromRoot());
    // Unset with a default still reads the default, and stays unset.
    const ImmutableClassObject b = copy.getRootObject().get(m.items)[1].asClassObject();
    EXPECT_FALSE(b.isSet(m.count));
    EXPECT_EQ(b.getInteger(m.count), 3);
    EXPECT_FALSE(b.isSet(m.next));
    // The loaded model is an ordinary one: it can be changed and undone.
    commit(copy, [&] { ClassObject(b).setString(m.label, "changed"); });
    copy.undoToChangeLevel(0);
    EXPECT_EQ(b.getString(m.label), "b");
}

TEST_F(RoundTripTest, ReadOnlyValuesAreLoadedAndSavedButStayReadOnly) {
    const std::string text =
        "<veld-model version=\"1\" metamodel=\"test:io\"><object id=\"7\" class=\"io.Doc\">"
        "<object property=\"items\" id=\"9\" class=\"io.Item\"><value "
        "property=\"code\">X-1</value></object>"
        "</object></veld-model>";
    model = readModel(text, "code.veld");
    const ClassObject o = model.getRootObject().get(m.items)[0].asClassObject();
    EXPECT_EQ(o.getString(m.code), "X-1");
    Transaction t(model);
    EXPECT_THROW(o.setString(m.code, "changed"), Exception);
    t.rollback();
    Model copy = roundTrip();
    EXPECT_NE(writeModel(copy).find("id=\"9\""), std::string::npos) << "ids come from the file";
}

TEST_F(RoundTripTest, DoublesComeBackBitForBit) {
    const double values[] = {0.1,
                             1.0 / 3.0,
                             -0.0,
                             0.0,
                             1e300,
                             -2.2250738585072014e-308,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::lowest(),
                             123456789.123456789,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::nextafter(1.0, 2.0)};
    commit(model, [&] {
        ClassObject o = item(model.getRootObject(), m.items, "d");
        o.setDouble(m.weight, std::nextafter(0.1, 1.0));
        for (double v : values)
            o.add(m.weights, ImmutableObject::fromDouble(v));
        ClassObject nan = item(model.getRootObject(), m.items, "nan");
        nan.setDouble(m.weight, std::numeric_limits<double>::quiet_NaN());
    });
    Model copy = loadModel(([&] {
        const std::string path = (dir / "d.veld").string();
        saveModel(model, path);
        return path;
    })());
    const auto items = copy.getRootObject().get(m.items);
    const auto weights = items[0].asClassObject().get(m.weights);
    ASSERT_EQ(weights.size(), static_cast<int>(std::size(values)));
    for (int i = 0; i < weights.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(weights[i].toDouble()),
                  std::bit_cast<std::uint64_t>(values[i]))
            << "value " << i;
    EXPECT_EQ(items[0].asClassObject().getDouble(m.weight), std::nextafter(0.1, 1.0));
    EXPECT_TRUE(std::isnan(items[1].asClassObject().getDouble(m.weight)));
}

TEST_F(RoundTripTest, StringsComeBackExactlyWhateverTheyHold) {
    const std::string texts[] = {
        "",
        "plain",
        "  leading and trailing  ",
        "line\nfeed\n\n",
        "carriage\r\nreturn\r",
        "tab\there",
        "quotes \" and ' apostrophes",
        "<markup attr=\"x\">&amp; &lt; ]]> </markup>",
        "Grüße, 日本語, emoji \xF0\x9F\x98\x80, combining e\xCC\x81",
        std::string("nul\0inside", 10),
        "control \x01\x1F chars",
        "invalid utf-8 \xFF\xFE\xC0\x80",
        "noncharacter \xEF\xBF\xBE",
        "&#13; looks like a reference",
    };
    commit(model, [&] {
        ClassObject doc = model.getRootObject();
        for (const std::string& text : texts) {
            ClassObject o = item(doc, m.items, text);
            o.add(m.tags, ImmutableObject::fromString(text));
        }
        item(doc, m.items, "unset label follows").unset(m.label);
    });
    Model copy = roundTrip();
    const auto items = copy.getRootObject().get(m.items);
    ASSERT_EQ(items.size(), static_cast<int>(std::size(texts)) + 1);
    for (int i = 0; i < static_cast<int>(std::size(texts)); ++i) {
        const ImmutableClassObject o = items[i].asClassObject();
        EXPECT_TRUE(o.isSet(m.label));
        EXPECT_EQ(o.getString(m.label), texts[i]);
        EXPECT_EQ(o.get(m.tags)[0].toStringValue(), texts[i]);
    }
    EXPECT_FALSE(items[std::size(texts)].asClassObject().isSet(m.label));
}

TEST_F(RoundTripTest, DiagramsKeepTheirElementsGeometryAndEdges) {
    const ImmutableClass diagramClass = DomainRegistry::instance().findClass("KITE.Diagram");
    commit(model, [&] {
        ClassObject d = model.getFactory().create(diagramClass);
        model.getRootObject().add(m.diagrams, d);
        KITE::Diagram diagram(d);
        ClassObject a = model.getFactory().create(m.box);
        ClassObject b = model.getFactory().create(m.box);
        ClassObject inner = model.getFactory().create(m.box);
        ClassObject wire = model.getFactory().create(m.wire);
        for (const ClassObject& o : {a, b, wire})
            d.add(diagramClass.getProperty("contained"), o);
        a.add(diagramClass.getProperty("contained"), inner);
        KITE::DiagramElement(a).setPosition({10.5, 20.25});
        KITE::DiagramElement(a).setSize({100, 50});
        KITE::DiagramElement(inner).setPosition({1, 2});
        KITE::GraphEdge(wire).setSrcElement(KITE::GraphElement(a));
        KITE::GraphEdge(wire).setDstElement(KITE::GraphElement(inner));
        a.setString(m.box.getProperty("label"), "source");
    });
    const std::string path = (dir / "diagram.veld").string();
    saveModel(model, path);
    EXPECT_NE(readBytes(path).find("<uses uri=\"kite:datamodel\"/>"), std::string::npos);
    Model copy = loadModel(path);
    ASSERT_TRUE(sameModel(model, copy));
    const KITE::ImmutableDiagram diagram(copy.getRootObject().get(m.diagrams)[0].asClassObject());
    ASSERT_EQ(diagram.getContained().size(), 3);
    const KITE::ImmutableGraphEdge wire(diagram.getContained()[2]);
    ASSERT_TRUE(wire.isValid());
    const KITE::ImmutableDiagramElement inner(wire.getDstElement());
    EXPECT_EQ(inner.getAbsPosition().x, 11.5);
    EXPECT_EQ(inner.getAbsPosition().y, 22.25);
    EXPECT_EQ(KITE::ImmutableDiagramElement(wire.getSrcElement()).getSize().x, 100);
}

TEST_F(RoundTripTest, ReferencesToDestroyedObjectsAreNotWritten) {
    ClassObject a, gone;
    commit(model, [&] {
        a = item(model.getRootObject(), m.items, "a");
        gone = item(model.getRootObject(), m.items, "gone");
        a.setObject(m.next, gone);
        a.add(m.peers, gone);
        a.add(m.peers, a);
    });
    commit(model, [&] { gone.destroy(); });
    Model copy = roundTrip();
    const ImmutableClassObject a2 = copy.getRootObject().get(m.items)[0].asClassObject();
    EXPECT_FALSE(a2.isSet(m.next));
    ASSERT_EQ(a2.get(m.peers).size(), 1);
    EXPECT_EQ(a2.get(m.peers)[0].asClassObject(), a2);
}

TEST_F(RoundTripTest, AWorkingCopyIsSavedAsItShowsTheModel) {
    commit(model, [&] { item(model.getRootObject(), m.items, "root's"); });
    Model copy = model.createDeviantWithName("draft");
    commit(copy, [&] { item(copy.getRootObject(), m.items, "draft's"); });
    Model loaded = readModel(writeModel(copy), "draft");
    EXPECT_TRUE(sameModel(copy, loaded));
    EXPECT_EQ(loaded.getRootObject().get(m.items).size(), 2);
    EXPECT_EQ(readModel(writeModel(model), "root").getRootObject().get(m.items).size(), 1);
}

TEST_F(RoundTripTest, TheDeepestModelAFileHoldsComesBack) {
    commit(model, [&] {
        // With the root and the item, 10000 levels: as deep as a file may nest.
        ClassObject parent = item(model.getRootObject(), m.items, "top");
        for (int i = 0; i < 9998; ++i)
            parent = item(parent, m.parts, "");
    });
    roundTrip();
}

TEST_F(RoundTripTest, NewObjectsAfterLoadingGetFreshIds) {
    commit(model, [&] { item(model.getRootObject(), m.items, "first"); });
    Model copy = readModel(writeModel(model), "m");
    commit(copy, [&] {
        ClassObject o = copy.getFactory().create(m.item);
        copy.getRootObject().add(m.items, o);
    });
    // Two objects with one id would make the next load fail.
    Model again = readModel(writeModel(copy), "again");
    EXPECT_TRUE(sameModel(copy, again));
}

TEST_F(RoundTripTest, HandWrittenQuotingLineEndsAndCommentsReadTheSame) {
    commit(model, [&] {
        ClassObject a = item(model.getRootObject(), m.items, "say \"hi\" <&>\tand\nmore");
        a.setDouble(m.weight, 0.5);
        a.setObject(m.next, a);
    });
    const std::string written = writeModel(model);
    // Apostrophes around attribute values (written text escapes every double quote), CR LF
    // line ends, comments and a processing instruction between elements, references spelled
    // as character references.
    std::string edited;
    for (char c : written) {
        if (c == '"')
            edited += '\'';
        else if (c == '\n')
            edited += "\r\n<!-- line -->";
        else
            edited += c;
    }
    edited.replace(edited.find("<object"), 7, "<?editor hint?><object");
    const std::size_t say = edited.find("say");
    ASSERT_NE(say, std::string::npos);
    edited.replace(say, 3, "&#115;&#x61;y");
    ASSERT_NE(edited, written);
    Model copy = readModel(edited, "edited.veld");
    EXPECT_TRUE(sameModel(model, copy));
    EXPECT_EQ(writeModel(copy), written);
}

TEST_F(RoundTripTest, MarkupCharactersInNamesAreEscaped) {
    MetaModelBuilder b("marks", "test:a&b<\"c\">\td\ne");
    b.addClass("Root").attribute("text", "String");
    b.setModelClass("Root");
    b.build();
    Model marked = DomainRegistry::instance().createModel("test:a&b<\"c\">\td\ne");
    const std::string written = writeModel(marked);
    EXPECT_NE(written.find("metamodel=\"test:a&amp;b&lt;&quot;c&quot;&gt;&#9;d&#10;e\""),
              std::string::npos)
        << written;
    Model copy = readModel(written, "marks.veld");
    EXPECT_EQ(copy.getRootObject().getMetaClass(), marked.getRootObject().getMetaClass());
}

TEST_F(RoundTripTest, ANameAFileCannotCarryIsNotWritten) {
    MetaModelBuilder b("ctrl", "test:ctrl\x01");
    b.addClass("Root");
    b.setModelClass("Root");
    b.build();
    Model bad = DomainRegistry::instance().createModel("test:ctrl\x01");
    EXPECT_THROW(writeModel(bad), Exception);
    const std::string path = (dir / "ctrl.veld").string();
    writeBytes(path, "previous");
    EXPECT_THROW(saveModel(bad, path), FileError);
    EXPECT_EQ(readBytes(path), "previous");
}

TEST_F(RoundTripTest, AModelLoadsFromAPipe) {
    commit(model, [&] {
        for (int i = 0; i < 3000; ++i) // more than a pipe holds at once
            item(model.getRootObject(), m.items, "item " + std::to_string(i));
    });
    const std::string path = (dir / "pipe").string();
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const std::string bytes = writeModel(model);
    std::thread writer([&] { std::ofstream(path, std::ios::binary) << bytes; });
    Model copy;
    try {
        copy = loadModel(path);
    } catch (...) {
        writer.join();
        throw;
    }
    writer.join();
    EXPECT_TRUE(sameModel(model, copy));
}

} // namespace
