#include "data/XmlScanner.h"

#include "TestSupport.h"
#include "XmlTokenLogs.h"

#include <QXmlStreamReader>
#include <zip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace qbm {
namespace {

using test::QtLog;
using test::ScannerLog;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

// Documents as office suites write them, and the less common forms of XML they may hold: the scanner
// reads each itself, exactly as Qt's reader does, in whatever pieces the part unpacks.
TEST(XmlScanner, ReadsWhatOfficeSuitesWriteExactlyAsQtDoes) {
    const std::string longText = [] {
        std::string t;
        for (int i = 0; i < 20000; ++i) t += "ab &amp; \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 ]]";
        return t;
    }();
    const std::vector<std::string> documents = {
        /* 0 */ kDeclaration +
            R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="urn:r"><sheetData><row r="1" spans="1:2"><c r="A1" t="s" s="1"><v>0</v></c><c r="B1"><f>SUM(A1)</f><v>4.5</v></c></row></sheetData></worksheet>)",
        /* 1 */
        "\xEF\xBB\xBF" + kDeclaration +
            "<sst count='2'>\n  <si><t xml:space=\"preserve\"> a\nb "
            "</t></si>\r\n<si><r><t>x</t></r><rPh><t>y</t></rPh></si></sst>",
        /* 2 */
        R"(<office:document-content xmlns:office="urn:o" xmlns:table="urn:t" xmlns:text="urn:x"><office:body><table:table table:name="S&amp;P &lt;1&gt; &quot;q&quot; &apos;a&apos;"><table:table-row table:number-rows-repeated="3"><table:table-cell office:value-type="float" office:value="1.5"><text:p>1<text:s text:c="3"/>5</text:p></table:table-cell></table:table-row></table:table></office:body></office:document-content>)",
        // character references, CDATA, comments and processing instructions between the text
        /* 3 */
        "<a>&#65;&#x42;&#xe9;&#233;&#x1F600;&#10;&#13;&#9;<![CDATA[<b>&amp;]]]]><!-- note --><?pi "
        "data?>tail</a><!-- after -->\n",
        // a prefix bound again inside, the default namespace taken away, '>' inside a value
        /* 4 */
        R"(<p:a xmlns:p="urn:1" xmlns="urn:d"><p:b xmlns:p="urn:2" x="1>0" p:y="2"><c xmlns=""/><d/></p:b><p:e/></p:a>)",
        // line ends in text read as line feeds, multi-byte characters, long text in pieces
        /* 5 */ "<a>one\r\ntwo\rthree\n\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80</a>",
        /* 6 */ "<a>" + longText + "</a>",
        /* 7 */ "<a  b = \"1\"\n\tc='2' ></a >",
        // references to line ends and tabs in values are no blanks for the value to normalize
        /* 8 */ "<a x=\"1&#10;2&#9;3&#13;4 &lt;&amp;\" xml:space=\"preserve\"><xml:b/></a>",
        // an office suite's root declares some forty namespaces, and elements use a few of them in turn
        /* 8 */
        [] {
            std::string root = "<o:document";
            for (int i = 0; i < 45; ++i)
                root += " xmlns:p" + std::to_string(i) + "=\"urn:" + std::to_string(i) + "\"";
            root += " xmlns:o=\"urn:o\">";
            for (int i = 0; i < 50; ++i)
                root += "<p" + std::to_string(i % 3) +
                        ":e p1:x=\"1\"><o:f xmlns:p1=\"urn:new\" p1:y=\"2\"/></p" + std::to_string(i % 3) +
                        ":e>";
            return root + "</o:document>";
        }(),
    };
    std::mt19937 random(17);
    for (size_t i = 0; i < documents.size(); ++i) {
        const auto qt = QtLog(documents[i]);
        ASSERT_TRUE(qt) << "document " << i;
        for (const std::vector<size_t>& pieces :
             {std::vector<size_t>{1 << 20}, std::vector<size_t>{1}, std::vector<size_t>{7, 1, 300, 2}}) {
            const auto ours = ScannerLog(documents[i], pieces);
            ASSERT_TRUE(ours) << "document " << i << " refused, in pieces of " << pieces[0];
            EXPECT_EQ(*ours, *qt) << "document " << i << " in pieces of " << pieces[0];
        }
    }
}

// Every XML part of the workbooks a real office suite saved reads through the scanner, not through the
// slower reader it leaves the rest to.
TEST(XmlScanner, ReadsEveryPartOfRealOfficeFiles) {
    for (const char* name : {"import/formats.xlsx", "import/formats.ods"}) {
        int error = 0;
        zip_t* archive = zip_open(test::TestDataPath(name).c_str(), ZIP_RDONLY, &error);
        ASSERT_NE(archive, nullptr) << name;
        int parts = 0;
        for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
            const std::string part = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
            if (!part.ends_with(".xml") && !part.ends_with(".rels")) continue;
            zip_stat_t st;
            zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
            std::string bytes(st.size, '\0');
            zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
            ASSERT_EQ(zip_fread(file, bytes.data(), bytes.size()), static_cast<zip_int64_t>(bytes.size()));
            zip_fclose(file);
            const auto ours = ScannerLog(bytes, {1 << 20});
            ASSERT_TRUE(ours) << name << " " << part;
            EXPECT_EQ(*ours, QtLog(bytes).value_or(std::vector<std::string>{})) << name << " " << part;
            ++parts;
        }
        zip_discard(archive);
        EXPECT_GE(parts, 3) << name;
    }
}

// What the scanner does not read itself it refuses, whatever Qt's reader makes of it (an error with its
// own text, or a reading of its own): never a token of its own making.
TEST(XmlScanner, RefusesAllElseForQtToRead) {
    const std::vector<std::string> documents = {
        /* 0 */ "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>",
        /* 1 */ "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
        /* 2 */ "<a>\xC3</a>",     // cut UTF-8
        /* 3 */ "<a>\xC0\x80</a>", // overlong
        /* 4 */ "<a>\x01</a>",     // control character
        /* 5 */ "<a></b>",
        /* 6 */ "<p:a/>", // undeclared prefix
        /* 7 */ "<a x=\"1\" x=\"2\"/>",
        /* 8 */ "<a>&nbsp;</a>",
        /* 9 */ "<a x=\"1\n2\"/>", // a line end in a value is normalized: Qt's to do
        /* 10 */ "<a/>text",
        /* 11 */ "<a><b></a>",
        /* 12 */ "<a>]]></a>",
        /* 13 */ "<a/><b/>",
        /* 14 */ "<\xC3\xA9/>",
        /* 15 */ "<a>&#0;</a>",
        /* 16 */ "<a x=1/>",
        /* 17 */ "<a x=\"1\"y=\"2\"/>",
        /* 18 */ "",
        /* 19 */ " <?xml version=\"1.0\"?><a/>",
        /* 20 */ "<a><!-- a -- b --></a>",
        /* 21 */ "<a xmlns:p=\"urn:1\" xmlns:q=\"urn:1\" p:x=\"1\" q:x=\"2\"/>",
        /* 22 */ "<a>\xEF\xBF\xBF</a>", // U+FFFF
        /* 23 */ "<a>\xC2\x85</a>",     // a C1 control
        /* 24 */ "<?x:y data?><a/>",    // a colon in a processing instruction's target
        /* 25 */ "<a xmlns:p=\"http://www.w3.org/2000/xmlns/\"/>",
        /* 26 */ "<p:9a xmlns:p=\"urn:1\"/>", // a local name that is no name
    };
    for (size_t i = 0; i < documents.size(); ++i) {
        for (const std::vector<size_t>& pieces : {std::vector<size_t>{1 << 20}, std::vector<size_t>{1}})
            EXPECT_FALSE(ScannerLog(documents[i], pieces)) << "document " << i;
    }
    // A tag with very many attributes, each checked against the others, goes to Qt's reader as well.
    std::string many = "<a";
    for (int i = 0; i < 300; ++i) many += " x" + std::to_string(i) + "=\"\"";
    EXPECT_FALSE(ScannerLog(many + "/>", {1 << 20}));
    // A tag longer than the scanner buffers goes to Qt's reader, which has always taken such tags.
    EXPECT_FALSE(ScannerLog("<a x=\"" + std::string(17 << 20, 'y') + "\"/>", {1 << 20}));
}

} // namespace
} // namespace qbm
