// gen_action_document: turns the action catalogue table into the C++ source
// that holds the action template document served to the host's editor.
//
//   gen_action_document CATALOGUE.txt OUTPUT.cpp
//
// The document is plain ASCII XML: one element per line, CR LF between lines
// and none after the last, empty elements written as start tag plus end tag.
// Any fault in the table stops the build with "file:line: reason".
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Const {
    std::string name, value, description;
};

struct ExtendedArg {
    std::vector<Const> consts;
    std::string note;
};

struct Arg {
    std::string name, type, defaultValue, required, easyDefault, dataType, constraints, description;
};

struct Action {
    std::string name, returnType, description;
    std::vector<Arg> args;
    std::string returns, example, note;
    int stage = 0;  // records seen: 0 args, 1 returns, 2 example, 3 note
    std::vector<ExtendedArg> extendedArgs;
};

struct Catalogue {
    std::vector<Action> actions;
    std::vector<std::string> versions;
};

struct Failure {
    std::string what;
};

// Decodes one field: "-" alone is empty, "\n" is CR LF, "\s" a space,
// "\\" a backslash. The document may hold no markup characters, so texts
// need no entity references.
std::string decodeField(const std::string& raw) {
    if (raw == "-") return {};
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\\') {
            char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
            if (next == 'n')
                text += "\r\n";
            else if (next == 's')
                text += ' ';
            else if (next == '\\')
                text += '\\';
            else
                throw Failure{"unknown escape in \"" + raw + "\""};
            ++i;
            continue;
        }
        if (c < 0x20 || c > 0x7E) throw Failure{"character outside printable ASCII"};
        if (c == '<' || c == '>' || c == '&') throw Failure{"markup character in a text"};
        text += c;
    }
    return text;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

Action& currentAction(Catalogue& cat, const std::string& kind) {
    if (cat.actions.empty()) throw Failure{"\"" + kind + "\" before any action"};
    return cat.actions.back();
}

void takeRecord(Catalogue& cat, const std::vector<std::string>& f) {
    static const struct {
        const char* kind;
        std::size_t fields;
    } shapes[] = {{"action", 4}, {"arg", 9},  {"returns", 2}, {"example", 2},
                  {"note", 2},   {"xarg", 2}, {"const", 4},   {"version", 5}};
    const std::string& kind = f[0];
    bool known = false;
    for (const auto& shape : shapes) {
        if (kind != shape.kind) continue;
        known = true;
        if (f.size() != shape.fields)
            throw Failure{"\"" + kind + "\" needs " + std::to_string(shape.fields - 1) + " fields, has " +
                          std::to_string(f.size() - 1)};
    }
    if (!known) throw Failure{"unknown record \"" + kind + "\""};
    if (!cat.versions.empty()) throw Failure{"record after the version record"};

    std::vector<std::string> v;
    for (std::size_t i = 1; i < f.size(); ++i) v.push_back(decodeField(f[i]));

    if (kind == "action") {
        if (!cat.actions.empty() && cat.actions.back().stage != 3)
            throw Failure{"previous action lacks returns, example or note"};
        Action action;
        action.name = v[0];
        action.returnType = v[1];
        action.description = v[2];
        cat.actions.push_back(action);
    } else if (kind == "arg") {
        Action& a = currentAction(cat, kind);
        if (a.stage != 0) throw Failure{"arg after returns"};
        if (v[3] != "0" && v[3] != "1") throw Failure{"Required must be 0 or 1"};
        a.args.push_back(Arg{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
    } else if (kind == "returns" || kind == "example" || kind == "note") {
        Action& a = currentAction(cat, kind);
        int stage = kind == "returns" ? 1 : kind == "example" ? 2 : 3;
        if (a.stage != stage - 1) throw Failure{"returns, example, note out of order"};
        a.stage = stage;
        (stage == 1 ? a.returns : stage == 2 ? a.example : a.note) = v[0];
    } else if (kind == "xarg") {
        Action& a = currentAction(cat, kind);
        if (a.stage != 3) throw Failure{"xarg before note"};
        a.extendedArgs.push_back(ExtendedArg{{}, v[0]});
    } else if (kind == "const") {
        Action& a = currentAction(cat, kind);
        if (a.extendedArgs.empty()) throw Failure{"const before any xarg"};
        a.extendedArgs.back().consts.push_back(Const{v[0], v[1], v[2]});
    } else {
        if (cat.actions.empty() || cat.actions.back().stage != 3)
            throw Failure{"version record before a complete action"};
        cat.versions = v;
    }
}

bool readCatalogue(const char* path, Catalogue* cat) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", path);
        return false;
    }
    std::string line;
    int number = 0;
    try {
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF checkouts
            if (line.empty() || line[0] == '#') continue;
            if (line.back() == ' ' || line.back() == '\t')
                throw Failure{"trailing white space (write \\s for a final space)"};
            takeRecord(*cat, splitTabs(line));
        }
        if (cat->versions.empty()) throw Failure{"no version record at the end"};
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s:%d: %s\n", path, number, failure.what.c_str());
        return false;
    }
    return true;
}

// Collects the document's lines; joined by CR LF, none after the last.
struct Document {
    std::vector<std::string> lines;

    void open(const char* tag) { lines.push_back(std::string("<") + tag + ">"); }
    void close(const char* tag) { lines.push_back(std::string("</") + tag + ">"); }
    void text(const char* tag, const std::string& value) {
        lines.push_back(std::string("<") + tag + ">" + value + "</" + tag + ">");
    }
};

Document render(const Catalogue& cat) {
    Document d;
    d.open("ActionTemplates");
    for (const Action& a : cat.actions) {
        d.open("Action");
        d.text("Name", a.name);
        d.text("Description", a.description);
        d.text("ReturnValueType", a.returnType);
        d.open("Arguments");
        for (const Arg& g : a.args) {
            d.open("Arg");
            d.text("Name", g.name);
            d.text("Description", g.description);
            d.text("Type", g.type);
            d.text("Default", g.defaultValue);
            d.text("Required", g.required);
            d.open("EasyMode");
            d.text("Default", g.easyDefault);
            d.text("DataType", g.dataType);
            d.text("Constraints", g.constraints);
            d.close("EasyMode");
            d.close("Arg");
        }
        d.close("Arguments");
        d.close("Action");
    }
    d.open("Extended");
    for (const Action& a : cat.actions) {
        d.open("Action");
        d.text("ReturnValueDescription", a.returns);
        d.text("Example", a.example);
        d.text("Note", a.note);
        for (const ExtendedArg& x : a.extendedArgs) {
            d.open("Arg");
            for (const Const& c : x.consts) {
                d.open("Const");
                d.text("Name", c.name);
                d.text("Value", c.value);
                d.text("Description", c.description);
                d.close("Const");
            }
            d.text("Note", x.note);
            d.close("Arg");
        }
        d.close("Action");
    }
    static const char* const versionTags[] = {"Version1", "Version2", "Version3", "Version4"};
    for (int i = 0; i < 4; ++i) d.text(versionTags[i], cat.versions[i]);
    d.close("Extended");
    d.close("ActionTemplates");
    return d;
}

std::string cLiteral(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

// One literal per document line keeps every piece far below the compilers'
// per-literal limits.
std::string cppSource(const Document& d, std::size_t* length) {
    std::ostringstream out;
    out << "// Generated by gen_action_document from plugin/actions_catalogue.txt.\n"
           "// Edit the catalogue, not this file.\n\n"
           "namespace vb::plugin::generated {\n\n"
           "extern const char kActionTemplateDocument[];\n"
           "const char kActionTemplateDocument[] =\n";
    *length = 0;
    for (std::size_t i = 0; i < d.lines.size(); ++i) {
        bool last = i + 1 == d.lines.size();
        std::string line = last ? d.lines[i] : d.lines[i] + "\r\n";
        *length += line.size();
        out << "    " << cLiteral(line) << (last ? ";\n" : "\n");
    }
    out << "\n}  // namespace vb::plugin::generated\n";
    return out.str();
}

bool writeFile(const std::string& path, const std::string& content) {
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(content.data(), static_cast<std::streamsize>(content.size()))) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_action_document CATALOGUE.txt OUTPUT.cpp\n");
        return 2;
    }
    Catalogue cat;
    if (!readCatalogue(argv[1], &cat)) return 1;
    std::size_t length = 0;
    std::string source = cppSource(render(cat), &length);
    if (!writeFile(argv[2], source)) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    std::printf("action template document: %zu actions, %zu bytes\n", cat.actions.size(), length);
    return 0;
}
