#include "panel/bounded_field.h"

#include "form/control.h"
#include "form/convert.h"

namespace velmora {

void applyBound(Control& field, Bound bound) {
  const double n = numberOf(field.text());
  if (bound.lower ? n < bound.value : n > bound.value) field.setText(textOf(bound.value));
}

void applyBounds(Control& field, Bound first, Bound second) {
  applyBound(field, first);
  applyBound(field, second);
}

}  // namespace velmora
