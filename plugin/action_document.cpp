#include "plugin/action_document.h"

namespace vb::plugin {

namespace generated {
// Built from actions_catalogue.txt by gen_action_document (action_document.cmake).
extern const char kActionTemplateDocument[];
}  // namespace generated

const char* ActionTemplateDocument() { return generated::kActionTemplateDocument; }

}  // namespace vb::plugin
