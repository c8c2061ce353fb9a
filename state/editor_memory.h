// What the editor keeps between events beyond its controls: the body it shows and
// the texts it wrote into the value fields for it. A field whose text is still the
// one shown was not edited, so storing it would only round the body's value to the
// field's fifteen digits, or copy the shown body into another one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "state/editor_fields.h"

namespace velmora {

struct EditorMemory {
  std::optional<int16_t> shownBody;                // none before the first pause
  std::array<std::string, kTxtpCount> shownTexts;  // TXTp as filled for shownBody
};

}  // namespace velmora
