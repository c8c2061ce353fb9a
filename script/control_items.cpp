#include "script/control_items.h"

namespace velmora {

namespace {

std::string boolText(bool b) {
  return b ? "True" : "False";
}

std::string colorText(Rgb c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

}  // namespace

const std::vector<const char*>& controlPropertyNames() {
  static const std::vector<const char*> names = {
      "Text",        "Caption",  "Value",     "Visible",   "Enabled",   "Locked",
      "ToolTipText", "Interval", "Min",       "Max",       "Left",      "Top",
      "Width",       "Height",   "ForeColor", "BackColor", "FillColor", "BorderColor"};
  return names;
}

std::optional<std::string> controlProperty(const Control& c, const std::string& name) {
  if (name == "Text") return c.text();
  if (name == "Caption") return c.caption();
  if (name == "Value") {
    if (c.kind() == Kind::OptionButton) return boolText(c.selected());
    return std::to_string(c.value());
  }
  if (name == "Visible") return boolText(c.visible());
  if (name == "Enabled") return boolText(c.enabled());
  if (name == "Locked") return boolText(c.locked());
  if (name == "ToolTipText") return c.toolTip();
  if (name == "Interval") return std::to_string(c.interval());
  if (name == "Min") return std::to_string(c.min());
  if (name == "Max") return std::to_string(c.max());
  if (name == "Left") return std::to_string(c.left());
  if (name == "Top") return std::to_string(c.top());
  if (name == "Width") return std::to_string(c.width());
  if (name == "Height") return std::to_string(c.height());
  if (name == "ForeColor") return colorText(c.foreColor());
  if (name == "BackColor") return colorText(c.backColor());
  if (name == "FillColor") return colorText(c.fillColor());
  if (name == "BorderColor") return colorText(c.borderColor());
  return std::nullopt;
}

bool isTextProperty(const std::string& name) {
  return name == "Text" || name == "Caption" || name == "ToolTipText" || name == "ForeColor" ||
         name == "BackColor" || name == "FillColor" || name == "BorderColor";
}

}  // namespace velmora
