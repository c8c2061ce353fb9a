// A control's properties by name, as the script runner prints them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "form/control.h"

namespace velmora {

// The property names a script may ask for, in the order dump writes them.
const std::vector<const char*>& controlPropertyNames();

// The property as printed: texts as they stand, booleans True/False, check box
// values 0/1/2, colours "R,G,B", numbers plainly. Nothing for an unknown name.
std::optional<std::string> controlProperty(const Control& control, const std::string& name);

// Whether the property's printed form is a text (as opposed to a number or a
// boolean), for writing it as JSON.
bool isTextProperty(const std::string& name);

}  // namespace velmora
