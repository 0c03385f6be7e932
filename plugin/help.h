// Opening the plug-in's help file in the HTML Help viewer.
#pragma once

#include <string>

namespace vb::plugin {

// Both return 1 when the viewer was started, 0 otherwise (also when the
// help file is missing). Nothing is shown on failure.
int ShowHelpForPlugin(const char* folder);
int ShowHelpForAction(const char* actionName, const char* folder);

// The pieces the two are made of.

// folder + "\" + "Velumbar.chm"; the folder is used as given.
std::string HelpFilePath(const char* folder);
// The action name lower-cased as the ANSI code page does, "." made "_",
// then ".htm": "Velumbar.SetText" gives "velumbar_settext.htm".
std::string HelpTopicName(const char* actionName);
// The path up to and including its last "\" or "/"; empty when it has none.
std::string FolderOfPath(const std::string& path);
// One byte lowered by the rules of Windows code page 1252.
char LowerAnsi(char c);

}  // namespace vb::plugin
