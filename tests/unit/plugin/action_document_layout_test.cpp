// The served action template document, byte by byte: its length, its line
// ends and the one-element-per-line layout the host's editor reads.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "plugin/action_document.h"
#include "plugin/identity.h"

namespace vb::plugin {
namespace {

// 17,278 bytes for the 22 actions with their 45 arguments, 2 for the line
// end after them, 8,356 for the extended section with its 48 argument
// entries and the root's end tag.
constexpr std::size_t kDocumentLength = 25636;
constexpr std::size_t kExtendedStart = 17278 + 2;

std::string Served() { return ActionTemplateDocument(); }

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return lines;
        start = end + 2;
    }
}

TEST(ActionDocumentBytes, HasItsFullLength) {
    EXPECT_EQ(std::strlen(ActionTemplateDocument()), kDocumentLength);
    EXPECT_EQ(Served().find("<Extended>\r\n"), kExtendedStart);
}

TEST(ActionDocumentBytes, IsPlainPrintableAscii) {
    for (char c : Served()) {
        auto u = static_cast<unsigned char>(c);
        ASSERT_TRUE((u >= 0x20 && u < 0x7F) || u == '\r' || u == '\n') << "byte " << int(u);
    }
    EXPECT_EQ(Served().find('\t'), std::string::npos);
    EXPECT_EQ(Served().find('&'), std::string::npos);
}

TEST(ActionDocumentBytes, EveryLineEndIsCrLfAndNoneAtTheEnd) {
    std::string doc = Served();
    for (std::size_t i = 0; i < doc.size(); ++i) {
        bool loneLf = doc[i] == '\n' && (i == 0 || doc[i - 1] != '\r');
        bool loneCr = doc[i] == '\r' && (i + 1 == doc.size() || doc[i + 1] != '\n');
        ASSERT_FALSE(loneLf) << "lone LF at " << i;
        ASSERT_FALSE(loneCr) << "lone CR at " << i;
    }
    EXPECT_EQ(doc.rfind("\r\n</ActionTemplates>"), doc.size() - 20);
    EXPECT_NE(doc.back(), '\n');
}

TEST(ActionDocumentBytes, StartsWithTheRootAndNoDeclaration) {
    EXPECT_EQ(Served().rfind("<ActionTemplates>\r\n<Action>\r\n<Name>Velumbar.Create</Name>\r\n", 0), 0u);
}

TEST(ActionDocumentLayout, EveryLineIsOneTagOrOneTextElement) {
    // Lines inside a multi-line text are the text's own; they are joined to
    // the element they belong to before the check.
    static const std::regex tagLine("</?[A-Za-z0-9]+>");
    static const std::regex textLine("<([A-Za-z0-9]+)>[^<>]*</\\1>");
    std::vector<std::string> lines = LinesOf(Served());
    int elements = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        while (line.find('<', 1) == std::string::npos && !std::regex_match(line, tagLine) &&
               i + 1 < lines.size())
            line += "\n" + lines[++i];
        ASSERT_TRUE(std::regex_match(line, tagLine) || std::regex_match(line, textLine))
            << "line " << i + 1 << ": " << line;
        ++elements;
    }
    EXPECT_EQ(Served().find("/>"), std::string::npos);  // no self-closing elements
    EXPECT_GT(elements, 1000);
}

TEST(ActionDocumentLayout, MultiLineTextsKeepTheirLineEndsInside) {
    std::string doc = Served();
    EXPECT_NE(doc.find("<ReturnValueDescription>Returns a table on success, nil on failure. Use "
                       "Application.GetLastError to determine why the function failed.\r\n\r\n"
                       "The table will contain the field Min and Max.</ReturnValueDescription>"),
              std::string::npos);
    EXPECT_NE(doc.find("not the custom icon set via autorun.inf.\r\nSpecify the Drive in argument "
                       "2.</Description>"),
              std::string::npos);
    EXPECT_NE(doc.find("returns nil on failure. </ReturnValueDescription>"), std::string::npos);
}

TEST(ActionDocumentExport, SizeProtocolAsksForTheTerminatorToo) {
    const char* doc = ActionTemplateDocument();
    int size = static_cast<int>(kDocumentLength);
    char probe[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(CopyTextOut(doc, probe, &size), -1);
    EXPECT_EQ(size, static_cast<int>(kDocumentLength) + 1);
    EXPECT_EQ(probe[0], 'x');  // nothing written on a short buffer

    size = 0;
    EXPECT_EQ(CopyTextOut(doc, nullptr, &size), -1);
    EXPECT_EQ(size, 25637);
}

TEST(ActionDocumentExport, ABufferOfTheReportedSizeReceivesItWhole) {
    std::vector<char> buffer(kDocumentLength + 1, '#');
    int size = static_cast<int>(buffer.size());
    EXPECT_EQ(CopyTextOut(ActionTemplateDocument(), buffer.data(), &size), static_cast<int>(kDocumentLength));
    EXPECT_EQ(size, static_cast<int>(kDocumentLength) + 1);  // unchanged on success
    EXPECT_EQ(std::string(buffer.data(), kDocumentLength), Served());
    EXPECT_EQ(buffer[kDocumentLength], '\0');
}

}  // namespace
}  // namespace vb::plugin
