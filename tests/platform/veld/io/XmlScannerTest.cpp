#include "platform/veld/io/XmlScanner_p.hpp"

#include <gtest/gtest.h>

#include <QtCore/QXmlStreamReader>

#include <string>
#include <vector>

using VELD::FileError;
using VELD::io::XmlScanner;
using Token = XmlScanner::Token;

namespace {

// The document as the scanner sees it, one line per token: elements with their attributes,
// and the text of elements named "t" (which hold text only).
std::string tokens(const std::string& xml, std::size_t maxDepth = 100) {
    XmlScanner in(xml, "test.xml", maxDepth);
    std::string out;
    for (Token t = in.next(); t != Token::EndDocument; t = in.next()) {
        if (t == Token::EndElement) {
            out += "/" + std::string(in.name()) + "\n";
            continue;
        }
        out += std::string(in.name());
        for (const XmlScanner::Attribute& a : in.attributes())
            out += " " + std::string(a.name) + "=[" + std::string(a.value) + "]";
        out += "\n";
        if (in.isNamed("t")) {
            out += "text=[" + std::string(in.elementText()) + "]\n";
            out += "/" + std::string(in.name()) + "\n";
        }
    }
    return out;
}

// The same from Qt's reader, for documents both must read alike.
std::string qtTokens(const std::string& xml) {
    QXmlStreamReader r(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size())));
    r.setNamespaceProcessing(false); // as the model files are read
    std::string out;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement: {
            out += r.qualifiedName().toString().toStdString();
            for (const QXmlStreamAttribute& a : r.attributes())
                out += " " + a.qualifiedName().toString().toStdString() + "=[" +
                       a.value().toString().toStdString() + "]";
            out += "\n";
            if (r.name() == u"t") {
                out += "text=[" + r.readElementText().toStdString() + "]\n";
                out += "/t\n";
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            out += "/" + r.qualifiedName().toString().toStdString() + "\n";
            break;
        default:
            break;
        }
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    return out;
}

// The error scanning the whole document gives; fails the test when there is none.
FileError errorOf(const std::string& xml, std::size_t maxDepth = 100) {
    try {
        tokens(xml, maxDepth);
    } catch (const FileError& e) {
        return e;
    }
    ADD_FAILURE() << "no error for:\n" << xml;
    return FileError("", 0, 0, "");
}

void expectError(const std::string& xml, const std::string& what, std::int64_t line,
                 std::int64_t column) {
    const FileError e = errorOf(xml);
    EXPECT_NE(e.message().find(what), std::string::npos) << e.what();
    EXPECT_EQ(e.line(), line) << e.what();
    EXPECT_EQ(e.column(), column) << e.what();
    EXPECT_EQ(e.file(), "test.xml");
}

TEST(XmlScannerTest, ReadsElementsAttributesAndText) {
    EXPECT_EQ(tokens("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r a=\"1\" b='two'>\n <t>x</t>\n "
                     "<e/>\n</r>\n"),
              "r a=[1] b=[two]\nt\ntext=[x]\n/t\ne\n/e\n/r\n");
}

TEST(XmlScannerTest, MatchesAttributesAgainstTheNamesAnElementMayHave) {
    XmlScanner in("<e b='2' a='1'/>", "t", 10);
    ASSERT_EQ(in.next(), Token::StartElement);
    const std::string_view* found[3];
    in.match({"a", "b", "c"}, found);
    ASSERT_TRUE(found[0] && found[1]);
    EXPECT_EQ(*found[0], "1");
    EXPECT_EQ(*found[1], "2");
    EXPECT_EQ(found[2], nullptr);
    EXPECT_EQ(in.required(found[0], "a"), "1");
    try {
        in.required(found[2], "c");
        ADD_FAILURE() << "an absent attribute was given";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(), "<e> needs the attribute 'c'");
        EXPECT_EQ(e.column(), 16); // after the start tag
    }
    try {
        in.match({"a"}, found);
        ADD_FAILURE() << "an unknown attribute was accepted";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(), "<e> has an unknown attribute 'b'");
    }
}

TEST(XmlScannerTest, ResolvesThePredefinedEntitiesAndCharacterReferences) {
    EXPECT_EQ(tokens("<t a='&lt;&gt;&amp;&apos;&quot;'>&lt;&gt;&amp;&apos;&quot;</t>"),
              "t a=[<>&'\"]\ntext=[<>&'\"]\n/t\n");
    EXPECT_EQ(tokens("<t>&#65;&#x42;&#x00e9;&#x20AC;&#128512;</t>"),
              "t\ntext=[AB\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80]\n/t\n");
    EXPECT_EQ(tokens("<t a='&#10;&#9;&#13;'>&#13;</t>"), "t a=[\n\t\r]\ntext=[\r]\n/t\n");
}

TEST(XmlScannerTest, RefusesBadReferences) {
    expectError("<t>&nbsp;</t>", "unknown entity 'nbsp'", 1, 3);
    expectError("<t>&#0;</t>", "character XML does not allow", 1, 3);
    expectError("<t>&#xD800;</t>", "character XML does not allow", 1, 3);
    expectError("<t>&#xFFFE;</t>", "character XML does not allow", 1, 3);
    expectError("<t>&#x110000;</t>", "character XML does not allow", 1, 3);
    expectError("<t>&#99999999999999999999999;</t>", "character XML does not allow", 1, 3);
    expectError("<t>&#X41;</t>", "needs digits", 1, 5);
    expectError("<t>&#;</t>", "needs digits", 1, 5);
    expectError("<t>&amp</t>", "';'", 1, 7);
    expectError("<t>a & b</t>", "entity name", 1, 6);
    expectError("<r a='&bogus;'/>", "unknown entity 'bogus'", 1, 6);
}

TEST(XmlScannerTest, QuotesEitherWayAndNormalisesWhitespaceInAttributes) {
    EXPECT_EQ(tokens("<r a = \"it's\"\tb\n=\n'say \"hi\"'/>"), "r a=[it's] b=[say \"hi\"]\n/r\n");
    EXPECT_EQ(tokens("<r a=\"x\ty\nz\r\nw\rv\"/>"), "r a=[x y z w v]\n/r\n");
    EXPECT_EQ(tokens("<r a=\"\" b=''/>"), "r a=[] b=[]\n/r\n");
    EXPECT_EQ(tokens("<r a='&amp;x' b='plain' c='y&#10;'/>"), "r a=[&x] b=[plain] c=[y\n]\n/r\n");
}

TEST(XmlScannerTest, RefusesMalformedAttributes) {
    expectError("<r a=1/>", "must be quoted", 1, 5);
    expectError("<r a='1\"/>", "ends too early", 1, 10);
    expectError("<r a='<'/>", "'<' in an attribute value", 1, 6);
    expectError("<r a='1'b='2'/>", "expected a space", 1, 8);
    expectError("<r a='1' a='2'/>", "'a' is given twice", 1, 9);
    expectError("<r a/>", "'='", 1, 4);
    expectError("<r ='1'/>", "attribute name", 1, 3);
}

TEST(XmlScannerTest, ReadsTextWithCommentsInstructionsAndCData) {
    EXPECT_EQ(tokens("<t>a<!-- c -->b<?pi x?>c<![CDATA[<d>&amp;]]>e</t>"),
              "t\ntext=[abc<d>&amp;e]\n/t\n");
    EXPECT_EQ(tokens("<t>one\r\ntwo\rthree\n</t>"), "t\ntext=[one\ntwo\nthree\n]\n/t\n");
    EXPECT_EQ(tokens("<t/>"), "t\ntext=[]\n/t\n");
    EXPECT_EQ(tokens("<t></t>"), "t\ntext=[]\n/t\n");
    EXPECT_EQ(
        tokens("\xEF\xBB\xBF<!-- before --><?pi?>\n<r><!-- in --><?pi in?></r>\n<!-- after -->\n"),
        "r\n/r\n");
}

TEST(XmlScannerTest, RefusesMarkupTheFilesDoNotUse) {
    expectError("<!DOCTYPE r>\n<r/>", "document type declarations are not allowed", 1, 0);
    expectError("<r><![CDATA[x]]></r>", "unexpected text 'x'", 1, 16);
    expectError("<r>\n  words <e/></r>", "unexpected text '\n  words '", 2, 9);
    expectError("<r>&#65;</r>", "unexpected text 'A'", 1, 9);
    expectError("words", "text before the root element", 1, 0);
    expectError("<r/>\nwords", "text after the root element", 2, 0);
    expectError("<r/><r/>", "content after the root element", 1, 4);
    expectError("<r><!-- a -- b --></r>", "'--' inside a comment", 1, 10);
    expectError("<r/><?xml version='1.0'?>", "may only open the file", 1, 6);
    expectError("<r></s>", "does not match <r>", 1, 3);
    expectError("<r/></r>", "closes nothing", 1, 4);
    expectError("<t>a]]>b</t>", "']]>' in text", 1, 4);
    expectError("<t>a<b/>c</t>", "a value holds text only", 1, 3);
    expectError("<r><!x></r>", "unexpected '<!'", 1, 3);
    expectError("< r/>", "element name", 1, 1);
}

TEST(XmlScannerTest, ChecksTheXmlDeclaration) {
    EXPECT_EQ(tokens("<?xml version='1.0' encoding='utf-8' standalone='yes'?><r/>"), "r\n/r\n");
    EXPECT_EQ(tokens("<?xml version=\"1.0\"?><r/>"), "r\n/r\n");
    expectError("<?xml version='1.0' encoding='ISO-8859-1'?><r/>",
                "only UTF-8 files are read, not 'ISO-8859-1'", 1, 30);
    expectError("<?xml version='2.0'?><r/>", "unsupported XML version '2.0'", 1, 15);
    expectError("<?xml encoding='UTF-8'?><r/>", "unexpected 'encoding'", 1, 6);
    expectError("<?xml version='1.0' standalone='yes' encoding='UTF-8'?><r/>",
                "unexpected 'encoding'", 1, 37);
    expectError("<?xml version='1.0' standalone='maybe'?><r/>", "yes or no", 1, 32);
    expectError("<?xml?><r/>", "needs a version", 1, 0);
    expectError("\n<?xml version='1.0'?><r/>", "may only open the file", 2, 2);
}

TEST(XmlScannerTest, CountsLinesAndUtf16ColumnsLikeQt) {
    // Errors about an element are placed after its start tag, where Qt's reader stands.
    XmlScanner in("<r>\n\t<e\n a='1'/>\r\n<e/>\r<e/></r>", "t", 10);
    ASSERT_EQ(in.next(), Token::StartElement);
    ASSERT_EQ(in.next(), Token::StartElement);
    EXPECT_EQ(in.position(in.offset()).line, 3);
    EXPECT_EQ(in.position(in.offset()).column, 8);
    ASSERT_EQ(in.next(), Token::EndElement);
    ASSERT_EQ(in.next(), Token::StartElement);
    EXPECT_EQ(in.position(in.offset()).line, 4); // a CR LF is one line end
    ASSERT_EQ(in.next(), Token::EndElement);
    ASSERT_EQ(in.next(), Token::StartElement);
    EXPECT_EQ(in.position(in.offset()).line, 5); // and so is a lone CR
    EXPECT_EQ(in.position(in.offset()).column, 4);
    // Columns count UTF-16 units: one for é, two for an emoji outside the basic plane.
    expectError("<r a='\xC3\xA9\xF0\x9F\x98\x80' b='1' b='2'/>", "given twice", 1, 17);
    expectError("<r>\n<e a='1'\r\n  x/></r>", "'='", 3, 3);
    expectError("\xEF\xBB\xBF<r a='1' a='1'/>", "given twice", 1,
                9); // a byte order mark takes no column
}

TEST(XmlScannerTest, RefusesInvalidUtf8AndForbiddenCharacters) {
    struct Case {
        std::string bytes;
        const char* what;
    };
    const Case cases[] = {
        {"\xC0\x80", "invalid UTF-8"},             // overlong NUL
        {"\xE0\x80\xAF", "invalid UTF-8"},         // overlong '/'
        {"\xED\xA0\x80", "invalid UTF-8"},         // a surrogate
        {"\xF4\x90\x80\x80", "invalid UTF-8"},     // beyond U+10FFFF
        {"\x80", "invalid UTF-8 (byte 0x80)"},     // a lone continuation byte
        {"\xF8\x88\x80\x80\x80", "invalid UTF-8"}, // five bytes
        {"\xC3(", "incomplete sequence"},          // a lead byte without its continuation
        {"\xEF\xBF\xBE", "noncharacter U+FFFE"},
        {"\x01", "control character U+0001"},
        {std::string(1, '\0'), "control character U+0000"},
        {"\x1B", "control character U+001B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // In text, in an attribute and in a comment alike, placed at the bad byte.
        expectError("<r>\n<t>ab" + c.bytes + "</t></r>", c.what, 2, 5);
        expectError("<r a='" + c.bytes + "'/>", c.what, 1, 6);
        expectError("<!--" + c.bytes + "--><r/>", c.what, 1, 4);
    }
    // Valid sequences of every length pass.
    EXPECT_EQ(tokens("<t "
                     "a='\x7F\xC2\x80'>"
                     "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF</t>"),
              "t "
              "a=[\x7F\xC2\x80]\ntext=["
              "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF]\n/t\n");
    // A sequence cut off by the end of the file is a truncated file.
    const FileError cut = errorOf("<t>\xE2\x82");
    EXPECT_NE(cut.message().find("ends too early"), std::string::npos) << cut.what();
}

TEST(XmlScannerTest, EveryCutOfAFileIsTruncatedUntilItsRootCloses) {
    const std::string xml =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding='UTF-8'?>\n<!-- note -->\n<?app data?>\n"
        "<root a=\"1 &amp; 2\" b='&#x263A;'>\n <t>text &lt; &#65; <![CDATA[<raw>]]><!--c--></t>\n"
        " <e/>\n <t/>\n</root >\n";
    const std::size_t complete = xml.find("</root >") + 8;
    ASSERT_EQ(tokens(xml), "root a=[1 & 2] b=[\xE2\x98\xBA]\nt\ntext=[text < A "
                           "<raw>]\n/t\ne\n/e\nt\ntext=[]\n/t\n/root\n");
    for (std::size_t n = 0; n < xml.size(); ++n) {
        const std::string prefix = xml.substr(0, n);
        if (n >= complete) {
            EXPECT_NO_THROW(tokens(prefix)) << n;
            continue;
        }
        try {
            tokens(prefix);
            ADD_FAILURE() << "a file cut after " << n << " bytes was read";
        } catch (const FileError& e) {
            EXPECT_NE(e.message().find("ends too early"), std::string::npos)
                << n << ": " << e.what();
            EXPECT_GT(e.line(), 0) << n;
        }
    }
}

TEST(XmlScannerTest, BoundsNesting) {
    std::string ok, deep;
    for (int i = 0; i < 5; ++i)
        ok += "<e>";
    for (int i = 0; i < 5; ++i)
        ok += "</e>";
    EXPECT_NO_THROW(tokens(ok, 5));
    const FileError e = errorOf("<e>" + ok + "</e>", 5);
    EXPECT_NE(e.message().find("nest deeper than 5 levels"), std::string::npos) << e.what();
    EXPECT_EQ(e.column(), 18);
}

TEST(XmlScannerTest, ReadsWhatQtsReaderReads) {
    const std::string documents[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r a=\"1\" b='two'><t>x</t><e/></r>",
        "<r a=\"x\ty\nz\r\nw\" b='&lt;&#10;&#x9;&quot;'>\r\n <t>one\r\ntwo\rthree</t>\n</r>",
        "<r>\n<t>a<!-- c -->b<?pi x?>c<![CDATA[<d>&amp;\r\n]]>e</t>\n<t/><t></t>\n</r>\n<!-- after "
        "-->",
        "<r:x xmlns:r='urn:r' r:a='1'><t>\xC3\xA9\xF0\x9F\x98\x80 &#128512;&#xE9;</t></r:x>",
        "<r><t>  spaces  and\ttabs\t</t><t>]]&gt; ] ]] &amp;amp;</t></r>",
        "<\xC3\xA9l\xC3\xA9ment \xC3\xA0='1'><t>x</t></\xC3\xA9l\xC3\xA9ment>",
    };
    for (const std::string& xml : documents)
        EXPECT_EQ(tokens(xml), qtTokens(xml)) << xml;
}

TEST(XmlScannerTest, ReleasesWhatItHasReadInSteps) {
    std::string xml = "<r>";
    for (int i = 0; i < 2000; ++i)
        xml += "<e a='" + std::to_string(i) + "'/>\n";
    xml += "</r>";
    XmlScanner in(xml, "t", 10);
    std::vector<std::pair<std::size_t, std::size_t>> released;
    in.onConsumed([&](std::size_t from, std::size_t to) { released.emplace_back(from, to); }, 4096);
    std::size_t lastOffset = 0;
    std::size_t elements = 0;
    for (Token t = in.next(); t != Token::EndDocument; t = in.next()) {
        elements += t == Token::StartElement;
        if (!released.empty()) {
            EXPECT_LE(released.back().second, in.offset());
        }
        lastOffset = in.offset();
    }
    EXPECT_EQ(elements, 2001u);
    EXPECT_EQ(lastOffset, xml.size());
    ASSERT_GE(released.size(), xml.size() / 4096 - 1);
    EXPECT_EQ(released.front().first, 0u);
    for (std::size_t i = 0; i < released.size(); ++i) {
        EXPECT_GE(released[i].second - released[i].first, 4096u);
        if (i > 0) {
            EXPECT_EQ(released[i].first, released[i - 1].second);
        }
    }
}

} // namespace
