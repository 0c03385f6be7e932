// The served action template document read back with an XML parser: the
// actions, their arguments and the extended section the editor shows.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "plugin/action_document.h"

namespace vb::plugin {
namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, DocFree>;

std::string NameOf(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::vector<xmlNode*> Elements(const xmlNode* parent) {
    std::vector<xmlNode*> out;
    if (!parent) return out;
    for (xmlNode* n = parent->children; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE) out.push_back(n);
    return out;
}

std::vector<std::string> ElementNames(const xmlNode* parent) {
    std::vector<std::string> names;
    for (xmlNode* n : Elements(parent)) names.push_back(NameOf(n));
    return names;
}

// The parser hands multi-line texts back with LF, as XML readers must.
std::string TextOf(const xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

const xmlNode* Child(const xmlNode* parent, const char* name, int nth = 0) {
    for (xmlNode* n : Elements(parent))
        if (NameOf(n) == name && nth-- == 0) return n;
    return nullptr;
}

std::string ChildText(const xmlNode* parent, const char* name) {
    const xmlNode* child = Child(parent, name);
    return child ? TextOf(child) : "<missing " + std::string(name) + ">";
}

class ActionDocumentXml : public ::testing::Test {
protected:
    void SetUp() override {
        const char* text = ActionTemplateDocument();
        doc_.reset(xmlReadMemory(text, static_cast<int>(std::strlen(text)), "actions.xml", nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
        ASSERT_TRUE(doc_);
        root_ = xmlDocGetRootElement(doc_.get());
        ASSERT_TRUE(root_);
        std::vector<xmlNode*> top = Elements(root_);
        ASSERT_EQ(top.size(), 23u);
        actions_.assign(top.begin(), top.begin() + 22);
        extended_ = top[22];
        std::vector<xmlNode*> ext = Elements(extended_);
        ASSERT_EQ(ext.size(), 26u);
        extActions_.assign(ext.begin(), ext.begin() + 22);
    }

    XmlDoc doc_;
    xmlNode* root_ = nullptr;
    xmlNode* extended_ = nullptr;
    std::vector<xmlNode*> actions_, extActions_;
};

const char* const kNames[22] = {"Velumbar.Create",
                                "Velumbar.AllocColor",
                                "Velumbar.SetCurrentPosition",
                                "Velumbar.SetGradientColors",
                                "Velumbar.GetCurrentPosition",
                                "Velumbar.SetText",
                                "Velumbar.GetText",
                                "Velumbar.SetFont",
                                "Velumbar.SetSolidColor",
                                "Velumbar.SetRange",
                                "Velumbar.GetRange",
                                "Velumbar.CreateEx",
                                "Velumbar.LoadImage",
                                "Velumbar.FreeImage",
                                "Velumbar.CountIconsInFile",
                                "Velumbar.SetIcon",
                                "Velumbar.SetTooltip",
                                "Velumbar.SetUseGlossy",
                                "Velumbar.GetUseGlossy",
                                "Velumbar.SetCallback",
                                "Velumbar.RemoveCallback",
                                "Velumbar.SetCursor"};
const char* const kReturnTypes[22] = {"boolean", "number",  "boolean", "boolean", "number",  "boolean",
                                      "string",  "boolean", "boolean", "boolean", "table",   "table",
                                      "number",  "boolean", "number",  "boolean", "boolean", "boolean",
                                      "boolean", "boolean", "",        "boolean"};
const std::size_t kArgCounts[22] = {2, 3, 2, 2, 1, 2, 1, 6, 2, 3, 1, 2, 3, 1, 1, 3, 2, 2, 1, 2, 1, 2};
// GetText (7th) and GetRange (11th) carry more extended entries than arguments.
const std::size_t kExtendedArgCounts[22] = {2, 3, 2, 2, 1, 2, 2, 6, 2, 3, 3, 2, 3, 1, 1, 3, 2, 2, 1, 2, 1, 2};

TEST_F(ActionDocumentXml, RootHoldsTwentyTwoActionsThenExtended) {
    EXPECT_EQ(NameOf(root_), "ActionTemplates");
    for (const xmlNode* a : actions_) EXPECT_EQ(NameOf(a), "Action");
    EXPECT_EQ(NameOf(extended_), "Extended");
}

TEST_F(ActionDocumentXml, ActionsComeInEditorOrderWithTheirTypes) {
    for (int i = 0; i < 22; ++i) {
        SCOPED_TRACE(kNames[i]);
        EXPECT_EQ(ElementNames(actions_[i]),
                  (std::vector<std::string>{"Name", "Description", "ReturnValueType", "Arguments"}));
        EXPECT_EQ(ChildText(actions_[i], "Name"), kNames[i]);
        EXPECT_EQ(ChildText(actions_[i], "ReturnValueType"), kReturnTypes[i]);
    }
    // Only CountIconsInFile goes without a description.
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(ChildText(actions_[i], "Description").empty(), i == 14) << kNames[i];
    EXPECT_EQ(ChildText(actions_[17], "Description"), "Set wether to draw the glossy effect");
    EXPECT_EQ(ChildText(actions_[11], "Description"),
              "Create an Velumbar control inside an existing Progressbar object and return an OOP "
              "object.");
}

TEST_F(ActionDocumentXml, ArgumentsHaveTheirCountsAndShape) {
    std::size_t total = 0;
    for (int i = 0; i < 22; ++i) {
        const xmlNode* args = Child(actions_[i], "Arguments");
        ASSERT_TRUE(args);
        std::vector<xmlNode*> list = Elements(args);
        EXPECT_EQ(list.size(), kArgCounts[i]) << kNames[i];
        for (const xmlNode* arg : list) {
            EXPECT_EQ(NameOf(arg), "Arg");
            EXPECT_EQ(ElementNames(arg), (std::vector<std::string>{"Name", "Description", "Type", "Default",
                                                                   "Required", "EasyMode"}));
            EXPECT_EQ(ElementNames(Child(arg, "EasyMode")),
                      (std::vector<std::string>{"Default", "DataType", "Constraints"}));
            std::string required = ChildText(arg, "Required");
            EXPECT_TRUE(required == "1" || required == "0");
        }
        total += list.size();
    }
    EXPECT_EQ(total, 45u);
}

// Reads argument `n` of action `a` (both counted from 0).
struct ArgView {
    std::string name, description, type, defaultValue, required, easyDefault, dataType, constraints;
};

ArgView ArgOf(const std::vector<xmlNode*>& actions, int a, int n) {
    const xmlNode* arg = Child(Child(actions[a], "Arguments"), "Arg", n);
    if (!arg) return {};
    const xmlNode* easy = Child(arg, "EasyMode");
    return {ChildText(arg, "Name"),      ChildText(arg, "Description"), ChildText(arg, "Type"),
            ChildText(arg, "Default"),   ChildText(arg, "Required"),    ChildText(easy, "Default"),
            ChildText(easy, "DataType"), ChildText(easy, "Constraints")};
}

TEST_F(ActionDocumentXml, ComboArgumentsNameConstantsAndEndTheirChoicesWithAComma) {
    ArgView style = ArgOf(actions_, 7, 4);  // SetFont's Fontstyle
    EXPECT_EQ(style.name, "Fontstyle");
    EXPECT_EQ(style.defaultValue, "VELUMBAR_TEXT_BORDER");
    EXPECT_EQ(style.easyDefault, "VELUMBAR_TEXT_BORDER");
    EXPECT_EQ(style.required, "0");
    EXPECT_EQ(style.dataType, "combo");
    EXPECT_EQ(style.constraints, "VELUMBAR_TEXT_BORDER,VELUMBAR_TEXT_SHADOW,");

    ArgView type = ArgOf(actions_, 12, 0);  // LoadImage's nType
    EXPECT_EQ(type.name, "nType");
    EXPECT_EQ(type.defaultValue, "VELUMBAR_LOADIMAGE_IMAGEFILE");
    EXPECT_EQ(type.required, "1");
    EXPECT_EQ(type.constraints,
              "VELUMBAR_LOADIMAGE_ASSOCIATION,VELUMBAR_LOADIMAGE_EXTENSION,VELUMBAR_LOADIMAGE_"
              "FOLDER,VELUMBAR_LOADIMAGE_DRIVE,VELUMBAR_LOADIMAGE_EXECUTABLE,VELUMBAR_LOADIMAGE_"
              "IMAGEFILE,");

    ArgView size = ArgOf(actions_, 15, 2);  // SetIcon's Size
    EXPECT_EQ(size.name, "Size");
    EXPECT_EQ(size.defaultValue, "VELUMBAR_24x24");
    EXPECT_EQ(size.constraints, "VELUMBAR_16x16,VELUMBAR_24x24,VELUMBAR_32x32,VELUMBAR_48x48,");
}

TEST_F(ActionDocumentXml, ArgumentTextsAreTheEditorsOwn) {
    ArgView props = ArgOf(actions_, 0, 1);
    EXPECT_EQ(props.name, "Properties");
    EXPECT_EQ(props.type, "table");
    EXPECT_EQ(props.defaultValue, "{}");
    EXPECT_EQ(props.easyDefault, "");  // unlike the plain default
    EXPECT_EQ(props.dataType, "string");

    ArgView state = ArgOf(actions_, 2, 1);
    EXPECT_EQ(state.defaultValue, "50");
    EXPECT_EQ(state.constraints, "0,100");

    ArgView range = ArgOf(actions_, 9, 2);
    EXPECT_EQ(range.name, "Max");
    EXPECT_EQ(range.constraints, "0,65535");

    EXPECT_EQ(ArgOf(actions_, 3, 1).description,
              "A handle to a previously allocted colorarray obtained from Velumbar.AllocColor");
    EXPECT_EQ(ArgOf(actions_, 1, 2).name, "...");
    EXPECT_EQ(ArgOf(actions_, 7, 3).dataType, "color");
    EXPECT_EQ(ArgOf(actions_, 19, 1).type, "variant");
    EXPECT_EQ(ArgOf(actions_, 11, 0).name, "Host Object");
}

TEST_F(ActionDocumentXml, ExtendedActionsHaveTheirEntries) {
    for (int i = 0; i < 22; ++i) {
        SCOPED_TRACE(kNames[i]);
        std::vector<std::string> names = ElementNames(extActions_[i]);
        ASSERT_EQ(names.size(), 3 + kExtendedArgCounts[i]);
        EXPECT_EQ(names[0], "ReturnValueDescription");
        EXPECT_EQ(names[1], "Example");
        EXPECT_EQ(names[2], "Note");
        for (std::size_t k = 3; k < names.size(); ++k) EXPECT_EQ(names[k], "Arg");
        EXPECT_EQ(ChildText(extActions_[i], "Example"), "");
        // Every extended entry ends with its Note.
        for (int k = 0; const xmlNode* arg = Child(extActions_[i], "Arg", k); ++k)
            EXPECT_EQ(ElementNames(arg).back(), "Note");
    }
}

TEST_F(ActionDocumentXml, OnlyTwoNotesSaySomething) {
    int notes = 0;
    for (int i = 0; i < 22; ++i) {
        std::string note = ChildText(extActions_[i], "Note");
        EXPECT_EQ(note, i == 14 ? "Count all the icons in an executable or dll." : "");
        for (int k = 0; const xmlNode* arg = Child(extActions_[i], "Arg", k); ++k) {
            std::string argNote = ChildText(arg, "Note");
            EXPECT_EQ(argNote, i == 1 && k == 1 ? "The second color." : "") << i << "/" << k;
            notes += !argNote.empty();
        }
        notes += !note.empty();
    }
    EXPECT_EQ(notes, 2);
}

TEST_F(ActionDocumentXml, ReturnDescriptionsKeepTheirLinesAndSpaces) {
    EXPECT_EQ(ChildText(extActions_[1], "ReturnValueDescription"),
              "Returns a number representing a color object on success, returns nil on failure. ");
    EXPECT_EQ(ChildText(extActions_[11], "ReturnValueDescription"),
              "Returns an OOP object on success, nil on failure.\nUse Application.GetLastError to "
              "determine why\nthe action failed.");
    EXPECT_EQ(ChildText(extActions_[12], "ReturnValueDescription"),
              "The numeric HXIMAGE, or nil if any error.\n\nYou can use Application.GetLastError "
              "to determine whether this action failed, and why.");
    EXPECT_EQ(ChildText(extActions_[17], "ReturnValueDescription"), "Returns true on success");
    EXPECT_EQ(ChildText(extActions_[18], "ReturnValueDescription"), "");
    EXPECT_EQ(ChildText(extActions_[20], "ReturnValueDescription"), "");
}

struct ConstView {
    std::string name, value, description;
};

std::vector<ConstView> ConstsOf(const xmlNode* arg) {
    std::vector<ConstView> out;
    for (const xmlNode* c : Elements(arg)) {
        if (NameOf(c) != "Const") continue;
        EXPECT_EQ(ElementNames(c), (std::vector<std::string>{"Name", "Value", "Description"}));
        out.push_back({ChildText(c, "Name"), ChildText(c, "Value"), ChildText(c, "Description")});
    }
    return out;
}

TEST_F(ActionDocumentXml, ThreeEntriesListConstantsEachEndingWithAnEmptyOne) {
    std::vector<ConstView> font = ConstsOf(Child(extActions_[7], "Arg", 4));
    ASSERT_EQ(font.size(), 3u);
    EXPECT_EQ(font[0].name, "VELUMBAR_TEXT_BORDER");
    EXPECT_EQ(font[1].name, "VELUMBAR_TEXT_SHADOW");
    for (const ConstView& c : font) EXPECT_EQ(c.value + c.description, "");
    EXPECT_EQ(font[2].name, "");

    std::vector<ConstView> load = ConstsOf(Child(extActions_[12], "Arg", 0));
    ASSERT_EQ(load.size(), 7u);
    const char* const loadNames[6] = {"ASSOCIATION", "EXTENSION",  "FOLDER",
                                      "DRIVE",       "EXECUTABLE", "IMAGEFILE"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(load[i].name, std::string("VELUMBAR_LOADIMAGE_") + loadNames[i]);
        EXPECT_EQ(load[i].value, std::to_string(i + 1));
        EXPECT_FALSE(load[i].description.empty());
    }
    EXPECT_EQ(load[6].name + load[6].value + load[6].description, "");
    EXPECT_EQ(load[1].description,
              "Load an image matching a file extension, for example, when \"txt\" is provided as "
              "second argument, the filetype icon for txt files will be returned.");
    EXPECT_EQ(load[3].description,
              "Load an image that belongs to a drive, this will only return the drivetype icon, "
              "not the custom icon set via autorun.inf.\nSpecify the Drive in argument 2.");

    std::vector<ConstView> icon = ConstsOf(Child(extActions_[15], "Arg", 2));
    ASSERT_EQ(icon.size(), 5u);
    const char* const iconNames[4] = {"VELUMBAR_16x16", "VELUMBAR_24x24", "VELUMBAR_32x32", "VELUMBAR_48x48"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(icon[i].name, iconNames[i]);
        EXPECT_EQ(icon[i].value, std::to_string(i + 1));
        EXPECT_EQ(icon[i].description, "");
    }
    EXPECT_EQ(icon[4].name + icon[4].value + icon[4].description, "");

    // No other entry carries constants.
    std::size_t consts = 0;
    for (const xmlNode* a : extActions_)
        for (int k = 0; const xmlNode* arg = Child(a, "Arg", k); ++k) consts += ConstsOf(arg).size();
    EXPECT_EQ(consts, 15u);
}

TEST_F(ActionDocumentXml, VersionsCloseTheExtendedSection) {
    std::vector<xmlNode*> ext = Elements(extended_);
    const char* const tags[4] = {"Version1", "Version2", "Version3", "Version4"};
    const char* const values[4] = {"1", "0", "0", "0"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(NameOf(ext[22 + i]), tags[i]);
        EXPECT_EQ(TextOf(ext[22 + i]), values[i]);
    }
}

// Writing the parsed tree back by the document's layout rules must give the
// served bytes again: tags on their own lines, texts inline, CR LF between.
void Rewrite(const xmlNode* node, std::string* out) {
    std::string tag = NameOf(node);
    std::vector<xmlNode*> children = Elements(node);
    if (children.empty()) {
        std::string text;
        for (char c : TextOf(node)) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
        *out += "<" + tag + ">" + text + "</" + tag + ">";
        return;
    }
    *out += "<" + tag + ">";
    for (const xmlNode* child : children) {
        *out += "\r\n";
        Rewrite(child, out);
    }
    *out += "\r\n</" + tag + ">";
}

TEST_F(ActionDocumentXml, RewritingTheTreeGivesTheSameBytes) {
    std::string rewritten;
    Rewrite(root_, &rewritten);
    EXPECT_EQ(rewritten, std::string(ActionTemplateDocument()));
}

}  // namespace
}  // namespace vb::plugin
