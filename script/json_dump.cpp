#include "script/json_dump.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "script/control_items.h"
#include "script/world_items.h"
#include "state/game.h"
#include "world/world_fields.h"

namespace velmora {

namespace {

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

// A printed number or boolean as a JSON value; a value JSON cannot hold is null.
std::string jsonValue(const std::string& printed) {
  if (printed == "True") return "true";
  if (printed == "False") return "false";
  if (printed.empty() || printed.find_first_not_of("0123456789+-.e") != std::string::npos) {
    return "null";
  }
  return printed;
}

void writeControls(const Form& form, std::ostream& out) {
  out << "{";
  bool first = true;
  for (const auto& c : form.controls()) {
    out << (first ? "\n" : ",\n") << "    " << quoted(c->id())
        << ": {\"Kind\": " << quoted(kindName(c->kind()));
    for (const char* name : controlPropertyNames()) {
      const std::string printed = *controlProperty(*c, name);
      out << ", " << quoted(name) << ": "
          << (isTextProperty(name) ? quoted(printed) : jsonValue(printed));
    }
    out << "}";
    first = false;
  }
  out << "\n  }";
}

}  // namespace

void writeJsonDump(const Game& game, std::ostream& out) {
  const World& w = game.world;
  out << "{\n";
  for (const auto& item : scalarItems()) {
    const std::string text = item.text(w);
    out << "  " << quoted(item.name) << ": "
        << (isText(*item.field) ? quoted(text) : jsonValue(text)) << ",\n";
  }
  out << "  \"bodies\": [";
  const auto& tables = tableNames();
  const int count = std::clamp<int>(w.PlanetCount, 0, kMaxBodies - 1);
  for (int i = 0; i <= count; ++i) {
    out << (i == 0 ? "\n" : ",\n") << "    {\"Index\": " << i;
    for (size_t t = 0; t < tables.size(); ++t) {
      out << ", " << quoted(tables[t]) << ": "
          << jsonValue(tableEntryText(w, static_cast<int>(t), i));
    }
    out << "}";
  }
  out << "\n  ],\n  \"Fs7\": {\"Caption\": " << quoted(game.fs7.caption())
      << ", \"Width\": " << game.fs7.width() << ", \"Height\": " << game.fs7.height()
      << ", \"Visible\": " << (game.fs7.visible() ? "true" : "false")
      << ", \"Enabled\": " << (game.fs7.enabled() ? "true" : "false") << "},\n";
  out << "  \"controls\": ";
  writeControls(game.fs7, out);
  out << ",\n  \"FormEnd\": {\"Caption\": " << quoted(game.formEnd.caption())
      << ", \"Visible\": " << (game.formEnd.visible() ? "true" : "false") << ", \"controls\": ";
  writeControls(game.formEnd, out);
  out << "}\n}\n";
}

}  // namespace velmora
