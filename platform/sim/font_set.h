// The stand-in's fixed set of fonts. Text must come out the same on every
// machine, whatever else is installed there, so the stand-in sees only the
// font files the set-up installs and maps Windows face names onto them
// through one table.
#pragma once

#include <fontconfig/fontconfig.h>

#include <string>

namespace vb::platform {

// The family that stands for a requested face name: the name itself when
// the set holds it, its listed substitute, else the default face. Names
// compare without regard to case, as Windows compares them.
std::string FamilyForFace(const std::string& face);

// A fontconfig configuration that knows only the set's files (null when
// fontconfig cannot make one). Made once; released by ReleaseFontSet.
FcConfig* FontSetConfig();
void ReleaseFontSet();

}  // namespace vb::platform
