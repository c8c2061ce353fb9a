// The six preset systems: fixed sequences of writes into the panel. Writing a
// check box or selecting an option runs its click at that point of the sequence
// when the value changes; writing a text runs nothing.
#include <string>
#include <vector>

#include "panel/panel.h"
#include "panel/spin_default.h"
#include "state/game.h"

namespace velmora {

namespace {

// One write: a text for a field, "1"/"0" for a check box, anything for an option
// (which is selected), a caption for a label. A spin numerator instead writes
// floor(numerator / W) into the field.
struct Write {
  const char* id;
  const char* value;
  double spinNumerator = 0;
};

using Preset = std::vector<Write>;

const Preset& preset(int index) {
  static const Preset kPresets[kPresetCount] = {
      {
          {"CHgod", "1"},
          {"Label11",
           "With 'Spin' as a starting option, a solar system  forms with planets "
           "orbiting in the same direction. With 'Spin' the orbits are "
           "concentric (similar to circles)."},
      },
      {
          {"CHgod", "0"},
          {"Label11",
           "Without 'Spin' as a starting option, a solar system will not form with planets "
           "which orbit in the same direction. Without 'Spin' a solar system is chaotic and "
           "the orbits are very eccentric (extremely elliptical)."},
      },
      {
          {"Text1", "30"},
          {"Text2", nullptr, 300000},
          {"Text5", "27"},
          {"Text4", "9"},
          {"Text7", "0"},
          {"CHsol", "1"},
          {"Och(4)", "1"},
          {"TXw(0)", "25"},
          {"TXn", "25"},
          {"TXg(0)", "300"},
          {"TXg(1)", "1"},
          {"TXg(2)", "2"},
          {"TXsrad", "270"},
          {"CHr", "0"},
          {"Chbi", "1"},
          {"TXTrange", "0.25"},
          {"CHgr", "1"},
          {"TXg(3)", "0.001"},
          {"CHgod", "1"},
          {"Label11",
           "Only when one of a twin star system goes nova can a solar system form "
           "with planets orbiting in the same direction."},
      },
      {
          {"Text1", "30"},
          {"Text2", nullptr, 600000},
          {"Text5", "29"},
          {"Text4", "9"},
          {"Text7", "0"},
          {"CHsol", "1"},
          {"Och(4)", "1"},
          {"TXw(0)", "300"},
          {"TXn", "300"},
          {"TXg(0)", "1000"},
          {"TXg(1)", "0.0001"},
          {"TXg(2)", "2"},
          {"TXg(3)", "0.3"},
          {"TXsrad", "270"},
          {"TXref", "20"},
          {"CHr", "1"},
          {"Chbi", "1"},
          {"TXTrange", "0.1"},
          {"CHgr", "1"},
          {"CHgod", "1"},
          {"Label11",
           "One of a twin star goes nova. The remains are between Jupiter and Mars size."},
      },
      {
          {"Text1", "20"},
          {"Text2", nullptr, 900000},
          {"Text5", "18"},
          {"Text4", "0"},
          {"Text7", "0"},
          {"CHsol", "1"},
          {"Och(6)", "1"},
          {"TXw(0)", "999"},
          {"TXn", "999"},
          {"TXsrad", "350"},
          {"TXg(0)", "3000"},
          {"TXg(1)", "3"},
          {"TXg(2)", "2"},
          {"TXg(3)", ""},
          {"Chbi", "1"},
          {"TXref", "3"},
          {"CHr", "1"},
          {"TXTrange", "0.17"},
          {"CHgr", "0"},
          {"CHgod", "1"},
          {"Label11", "999 Jupiter size worlds generated from a mass equal to the sun going nova."},
      },
      {
          {"Text1", "20"},
          {"Text2", nullptr, 670000},
          {"Text5", "18"},
          {"Text4", "0"},
          {"Text7", "0"},
          {"CHsol", "1"},
          {"Och(6)", "1"},
          {"TXw(0)", "500"},
          {"TXn", "500"},
          {"TXsrad", "350"},
          {"TXg(0)", "1000"},
          {"TXg(1)", "0.03"},
          {"TXg(2)", "2"},
          {"TXg(3)", ""},
          {"Chbi", "1"},
          {"CHr", "0"},
          {"TXTrange", "0.07"},
          {"CHgr", "0"},
          {"CHgod", "1"},
          {"Label11",
           "500 Earth-size worlds generated from a nova. This star was 1/60th of the sun, or "
           "15x Jupiter."},
      },
  };
  return kPresets[index];
}

void apply(Game& g, const Write& write) {
  Control& c = *g.fs7.findById(write.id);
  switch (c.kind()) {
    case Kind::CheckBox:
      c.setValue(std::string(write.value) == "1" ? 1 : 0);
      break;
    case Kind::OptionButton:
      c.setValue(1);
      break;
    case Kind::Label:
      c.setCaption(write.value);
      break;
    default:
      c.setText(write.spinNumerator != 0 ? spinForWidth(write.spinNumerator, g.W())
                                         : std::string(write.value));
      // A preset's text is what a refused entry in this field falls back to.
      g.panelMemory.remember(c);
      break;
  }
}

}  // namespace

std::string presetExplanation(int index) {
  for (const Write& write : preset(index)) {
    if (std::string(write.id) == "Label11") return write.value;
  }
  return {};
}

void CDp_Click(Game& g, int index) {
  if (index < 0 || index >= kPresetCount) return;
  for (const Write& write : preset(index)) apply(g, write);
}

}  // namespace velmora
