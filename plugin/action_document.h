// The action template document served to the host's project editor.
#pragma once

namespace vb::plugin {

const char* ActionTemplateDocument();

}  // namespace vb::plugin
