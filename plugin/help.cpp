#include "plugin/help.h"

#include "platform/platform.h"
#include "plugin/identity.h"

namespace vb::plugin {

namespace {

constexpr const char* kViewerProgram = "hh.exe";

// Starts the viewer when something exists at the help path; a folder there
// counts too, and the viewer then reports the problem itself.
int OpenViewer(const std::string& helpPath, const std::string& arguments) {
    if (!platform::pathExists(helpPath.c_str())) return 0;
    std::string workingFolder = FolderOfPath(helpPath);
    return platform::startProgram(kViewerProgram, arguments.c_str(), workingFolder.c_str()) ? 1 : 0;
}

}  // namespace

// CharLowerA on code page 1252: ASCII, the Latin-1 capitals (not the
// multiplication sign) and the four capitals the code page adds below them.
char LowerAnsi(char c) {
    auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        u += 0x20;
    else if (u == 0x8A || u == 0x8C || u == 0x8E)
        u += 0x10;  // S caron, OE, Z caron
    else if (u == 0x9F)
        u = 0xFF;  // Y diaeresis
    return static_cast<char>(u);
}

std::string HelpFilePath(const char* folder) { return std::string(folder) + "\\" + kPluginName + ".chm"; }

std::string HelpTopicName(const char* actionName) {
    std::string topic;
    for (const char* p = actionName; *p; ++p) topic += *p == '.' ? '_' : LowerAnsi(*p);
    return topic + ".htm";
}

std::string FolderOfPath(const std::string& path) {
    std::size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

// The host calls these through C exports, so nothing may escape them; a
// text that cannot be built starts nothing.
int ShowHelpForPlugin(const char* folder) {
    int started = 0;
    if (folder) {
        try {
            std::string path = HelpFilePath(folder);
            started = OpenViewer(path, path);
        } catch (...) {}
    }
    return started;
}

int ShowHelpForAction(const char* actionName, const char* folder) {
    int started = 0;
    if (actionName && folder) {
        try {
            std::string path = HelpFilePath(folder);
            started = OpenViewer(path, path + "::" + HelpTopicName(actionName));
        } catch (...) {}
    }
    return started;
}

}  // namespace vb::plugin
