// What the plug-in tells the host about itself.
#pragma once

namespace vb::plugin {

constexpr const char* kPluginName = "Velumbar";
constexpr const char* kPluginVersion = "2.1.0.0";
constexpr const char* kLuaVersion = "Lua 5.1";
constexpr int kSdkVersion = 2;
// Four lines joined by CR LF, none after the last.
constexpr const char* kAuthorInfo =
    "Velumbar Action Plugin\r\n"
    "Made by the Velumbar developers\r\n"
    "https://velumbar.invalid/\r\n"
    "Copyright (c) 2026 the Velumbar developers. All rights reserved.";

// The size protocol of the text exports: with room for the text and its
// terminator, copies it and returns its length; otherwise stores the size
// needed and returns -1.
int CopyTextOut(const char* text, char* buffer, int* size);

}  // namespace vb::plugin
