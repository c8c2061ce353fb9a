// What the settings panel keeps between events beyond its controls: the last
// accepted text of each whole-number field, given back when an entry cannot be
// stored, and whether "Go" has built this run's system.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace velmora {

class Control;

class PanelMemory {
 public:
  // Takes the field's current text as its last accepted one.
  void remember(const Control& field);
  // Gives the field its last accepted text back; a field never remembered keeps
  // the text it has.
  void restore(Control& field) const;
  // The last accepted text of a field, if it has one; a saved system keeps these.
  const std::string* accepted(const Control& field) const;
  void setAccepted(const Control& field, std::string text) { accepted_[&field] = std::move(text); }
  void forget(const Control& field) { accepted_.erase(&field); }

  bool systemStarted = false;

 private:
  std::map<const Control*, std::string> accepted_;
};

}  // namespace velmora
