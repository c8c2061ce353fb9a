// What the settings panel keeps between events beyond its controls: the last
// accepted text of each whole-number field, given back when an entry cannot be
// stored, and whether "Go" has built this run's system.
#pragma once

#include <map>
#include <string>

namespace velmora {

class Control;

class PanelMemory {
 public:
  // Takes the field's current text as its last accepted one.
  void remember(const Control& field);
  // Gives the field its last accepted text back; a field never remembered keeps
  // the text it has.
  void restore(Control& field) const;

  bool systemStarted = false;

 private:
  std::map<const Control*, std::string> accepted_;
};

}  // namespace velmora
