#include "utils/XMLFilterMatch.hpp"

#include "platform/veld/Veld.hpp"

#include <QFile>
#include <QTemporaryDir>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using KITE::Util::XMLFilterBase;
using KITE::Util::XMLFilterMatch;

namespace {

// The example of docs/control-filters.md, read from the page itself.
TAVI::XMLDB::Database& documentedDatabase() {
    static TAVI::XMLDB::Database db;
    static const bool loaded = [] {
        QFile page(KITE_SOURCE_DIR "/docs/control-filters.md");
        if (!page.open(QIODevice::ReadOnly))
            return false;
        const QString text = QString::fromUtf8(page.readAll());
        const qsizetype begin = text.indexOf("```xml\n");
        const qsizetype end = text.indexOf("```", begin + 7);
        if (begin < 0 || end < 0)
            return false;
        static QTemporaryDir folder;
        QFile data(folder.filePath("example.xml"));
        if (!data.open(QIODevice::WriteOnly))
            return false;
        data.write(text.mid(begin + 7, end - begin - 7).toUtf8());
        data.close();
        TAVI::ErrorHolder errors;
        return db.addFolder(folder.path().toStdString(), errors);
    }();
    EXPECT_TRUE(loaded);
    return db;
}

struct DocumentedClasses {
    VELD::ImmutableClass block, gain;
    static const DocumentedClasses& get() {
        static const DocumentedClasses c = [] {
            VELD::MetaModelBuilder b("lib", "test:documented-filters");
            b.addClass("Block");
            b.addClass("Gain", {"Block"});
            const VELD::ImmutableNamespace pkg = b.build();
            return DocumentedClasses{pkg.getClass("Block"), pkg.getClass("Gain")};
        }();
        return c;
    }
};

} // namespace

TEST(FilterDocsTest, TheDocumentedExampleDecidesAsDescribed) {
    XMLFilterBase::clearCacheMaps();
    auto f = boost::make_shared<XMLFilterMatch>("Tree", "", &documentedDatabase);
    const DocumentedClasses& c = DocumentedClasses::get();
    ASSERT_TRUE(f->buildFilter(c.gain, "Simple"));
    EXPECT_FALSE(f->doTestName("ports", nullptr));
    EXPECT_TRUE(f->doTestName("blocks", nullptr));
    EXPECT_TRUE(f->doTestName("notes", nullptr));
    ASSERT_TRUE(f->buildFilter(c.block, "Simple"));
    EXPECT_TRUE(f->doTestName("ports", nullptr));
    EXPECT_FALSE(f->doTestName("notes", nullptr));
    auto browser = boost::make_shared<XMLFilterMatch>("Property", "", &documentedDatabase);
    ASSERT_TRUE(browser->buildFilter(c.block, "Simple"));
    ASSERT_NE(browser->getDerivedExceptions(), nullptr);
    EXPECT_EQ(browser->getDerivedExceptions()->getDataList(), std::vector<std::string>{"total"});
}
