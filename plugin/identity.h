// What the plug-in tells the host about itself.
#pragma once

#include "plugin/version.h"

namespace vb::plugin {

constexpr const char* kPluginName = "Velumbar";
constexpr const char* kPluginVersion = VELUMBAR_VERSION_TEXT;
constexpr const char* kLuaVersion = "Lua 5.1";
constexpr int kSdkVersion = 2;
// Four lines joined by CR LF, none after the last.
constexpr const char* kAuthorInfo = VELUMBAR_DESCRIPTION
    "\r\n"
    "Made by " VELUMBAR_MAKER
    "\r\n"
    "https://velumbar.invalid/\r\n" VELUMBAR_COPYRIGHT ". Released under the MIT licence.";

// The size protocol of the text exports: with room for the text and its
// terminator, copies it and returns its length; otherwise stores the size
// needed and returns -1.
int CopyTextOut(const char* text, char* buffer, int* size);

}  // namespace vb::plugin
