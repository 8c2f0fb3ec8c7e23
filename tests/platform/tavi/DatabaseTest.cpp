#include "platform/tavi/xmldb/Database.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace TAVI;
using TAVI::XMLDB::Database;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    std::string folder(const QString& name) { return root.filePath(name).toStdString(); }
    void write(const QString& relative, const char* text) {
        const QString path = root.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    std::vector<std::string> list(const std::string& key) {
        const auto node = db.getData(key, false);
        return node ? node->getDataList() : std::vector<std::string>{"<absent>"};
    }

    QTemporaryDir root;
    Database db;
    ErrorHolder errors;
};

const char* filterFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<xmldb>
  <!-- include list of the simple tree mode -->
  <node name="Filter/lib.Block">
    <node name="Tree/Simple">
      <node name="Include">
        <item>Name</item>
        <item> Gain </item>
      </node>
      <node name="Exclude" list="true"/>
    </node>
  </node>
</xmldb>
)";

} // namespace

TEST_F(DatabaseTest, ReadsNestedNodesIntoKeyedDataLists) {
    write("a/filters.xml", filterFile);
    ASSERT_TRUE(db.addFolder(folder("a"), errors)) << errors.description();
    const auto include = db.getData("Filter/lib.Block/Tree/Simple/Include", false);
    ASSERT_TRUE(include);
    EXPECT_TRUE(include->hasDataList());
    EXPECT_EQ(include->getName(), "Include");
    EXPECT_EQ(include->getDataList(), (std::vector<std::string>{"Name", "Gain"}));

    const auto exclude = db.getData("Filter/lib.Block/Tree/Simple/Exclude", false);
    ASSERT_TRUE(exclude);
    EXPECT_TRUE(exclude->hasDataList());
    EXPECT_TRUE(exclude->getDataList().empty());

    const auto inner = db.getData("Filter/lib.Block/Tree", false);
    ASSERT_TRUE(inner);
    EXPECT_FALSE(inner->hasDataList());
    EXPECT_FALSE(db.getData("Filter/lib.Block/Tree/Simple/Other", false));
    EXPECT_FALSE(db.getData("/Filter/lib.Block", false)); // keys are exact
}

TEST_F(DatabaseTest, FilesAndFoldersMergeInOrder) {
    write("a/1.xml", R"(<xmldb><node name="K"><item>a1</item></node></xmldb>)");
    write(
        "a/2.xml",
        R"(<xmldb><node name="K"><item>a2</item></node><node name="/Lead"><item>x</item></node></xmldb>)");
    write("b/1.xml", R"(<xmldb><node name="K"><item>b1</item></node></xmldb>)");
    write("a/ignored.txt", "not xml at all");
    ASSERT_TRUE(db.addFolder(folder("b"), errors));
    ASSERT_TRUE(db.addFolder(folder("a"), errors));
    EXPECT_EQ(list("K"), (std::vector<std::string>{"b1", "a1", "a2"}));
    EXPECT_EQ(list("/Lead"), (std::vector<std::string>{"x"}));
    EXPECT_EQ(db.getFolders().size(), 2u);
}

TEST_F(DatabaseTest, MalformedFileIsSkippedWithFileLineAndColumn) {
    write("a/good.xml", R"(<xmldb><node name="Good"><item>g</item></node></xmldb>)");
    write("a/bad.xml", "<xmldb>\n  <node name=\"Bad\"><item>b</item>\n</xmldb>\n");
    write("a/wrong.xml", "<xmldb>\n<node name=\"W\"><thing/></node></xmldb>");
    EXPECT_FALSE(db.addFolder(folder("a"), errors));
    EXPECT_EQ(errors.id(), "TAVI_XMLDB_MalformedFile");
    EXPECT_EQ(list("Good"), (std::vector<std::string>{"g"}));
    EXPECT_FALSE(db.getData("Bad", false)); // nothing of a bad file is kept
    EXPECT_FALSE(db.getData("W", false));

    const auto problems = db.getLoadErrors();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].file, folder("a/bad.xml"));
    EXPECT_EQ(problems[0].line, 3);
    EXPECT_GT(problems[0].column, 0);
    EXPECT_EQ(problems[1].file, folder("a/wrong.xml"));
    EXPECT_EQ(problems[1].line, 2);
    EXPECT_NE(problems[1].message.find("thing"), std::string::npos) << problems[1].message;
    EXPECT_NE(errors.what().find("wrong.xml:2:"), std::string::npos) << errors.what();
}

TEST_F(DatabaseTest, BadNamesAndRootsAreMalformed) {
    const char* bad[] = {
        R"(<other/>)",
        R"(<xmldb><node><item>x</item></node></xmldb>)",
        R"(<xmldb><node name="a//b"/></xmldb>)",
        R"(<xmldb><item>x</item></xmldb>)",
        R"(<xmldb><node name="a">stray</node></xmldb>)",
        R"(<xmldb><node name="a" list="maybe"/></xmldb>)",
        "",
    };
    for (const char* text : bad) {
        write("c/f.xml", text);
        errors.clear();
        EXPECT_FALSE(db.addFolder(folder("c"), errors)) << text;
        EXPECT_EQ(db.getLoadErrors().size(), 1u) << text;
    }
}

TEST_F(DatabaseTest, ReloadReplacesAFoldersDataAndHandedNodesStayAsTheyWere) {
    write("a/f.xml", R"(<xmldb><node name="K"><item>old</item></node></xmldb>)");
    ASSERT_TRUE(db.addFolder(folder("a"), errors));
    const auto before = db.getData("K", false);
    write("a/f.xml", R"(<xmldb><node name="K"><item>new</item></node></xmldb>)");
    ASSERT_TRUE(db.reloadFolder(folder("a"), errors));
    EXPECT_EQ(list("K"), (std::vector<std::string>{"new"}));
    EXPECT_EQ(before->getDataList(), (std::vector<std::string>{"old"}));
    EXPECT_EQ(db.getFolders().size(), 1u);

    EXPECT_TRUE(db.removeFolder(folder("a")));
    EXPECT_FALSE(db.getData("K", false));
    EXPECT_FALSE(db.removeFolder(folder("a")));
}

TEST_F(DatabaseTest, MissingFolderProgramDataAndCreation) {
    EXPECT_FALSE(db.addFolder(folder("nowhere"), errors));
    EXPECT_EQ(errors.id(), "TAVI_XMLDB_FolderNotFound");
    EXPECT_TRUE(db.getFolders().empty());

    db.setDataList("Filter/x/Include", {"A"});
    EXPECT_EQ(list("Filter/x/Include"), (std::vector<std::string>{"A"}));
    EXPECT_FALSE(db.getData("Made", false));
    const auto made = db.getData("Made", true);
    ASSERT_TRUE(made);
    EXPECT_FALSE(made->hasDataList());
    EXPECT_TRUE(db.hasData("Made"));
    EXPECT_EQ(&XMLDB::DefaultGetDatabase(), &Database::instance());
}
