#include "state/panel_memory.h"

#include "form/control.h"

namespace velmora {

void PanelMemory::remember(const Control& field) {
  accepted_[&field] = field.text();
}

void PanelMemory::restore(Control& field) const {
  const auto it = accepted_.find(&field);
  if (it != accepted_.end()) field.setText(it->second);
}

const std::string* PanelMemory::accepted(const Control& field) const {
  const auto it = accepted_.find(&field);
  return it == accepted_.end() ? nullptr : &it->second;
}

}  // namespace velmora
