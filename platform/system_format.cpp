#include "platform/system_format.h"

#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <nlohmann/json.hpp>
#include <set>
#include <string_view>
#include <vector>

#include "form/surface.h"
#include "platform/png_picture.h"
#include "platform/system_json.h"
#include "world/world_fields.h"

namespace velmora {

namespace {

using Json = nlohmann::json;

// ---- Writing -------------------------------------------------------------------

// The shortest text that reads back to the same double. A negative zero is
// written "-0.0": JSON readers take "-0" for the whole number 0.
std::string num(double v) {
  if (v == 0 && std::signbit(v)) return "-0.0";
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

std::string str(const std::string& s) {
  return Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
}

template <class T>
bool isZero(T v) {
  return v == 0 && !std::signbit(static_cast<double>(v));
}

// Entries up to the highest one that any table holds (at least the planet count),
// so that a small system makes a small file and reads back exactly.
int savedEntries(const World& w) {
  const int count = std::clamp<int>(w.PlanetCount, 0, kMaxBodies - 1);
  for (int i = kMaxBodies - 1; i > count; --i) {
    for (const TableField& t : worldTables()) {
      if (!isZero(entryOf(w, t, i))) return i + 1;
    }
  }
  return count + 1;
}

std::string table(const World& w, const TableField& t, int entries) {
  std::string out = "[";
  for (int i = 0; i < entries; ++i) {
    if (i > 0) out += ',';
    out += num(entryOf(w, t, i));
  }
  return out + "]";
}

std::string textMap(const std::map<std::string, std::string>& m, const char* indent) {
  std::string out = "{";
  const char* sep = "\n";
  for (const auto& [k, v] : m) {
    out += sep + std::string(indent) + "  " + str(k) + ": " + str(v);
    sep = ",\n";
  }
  return out + "\n" + indent + "}";
}

std::string pngBase64(const SystemSnapshot& s) {
  if (s.pixels.size() != static_cast<size_t>(s.pictureWidth) * s.pictureHeight) return {};
  const auto png = encodePng(s.pixels.data(), s.pictureWidth, s.pictureHeight);
  if (!png) return {};
  return QByteArray::fromRawData(png->data(), static_cast<qsizetype>(png->size()))
      .toBase64()
      .toStdString();
}

// Writes the whole numbers of `section` from the snapshot's list inline:
// {"width": 17895, "height": 13320}.
std::string wholesInline(const SystemSnapshot& s, const char* section) {
  std::string out = "{";
  const char* sep = "";
  for (const SnapshotWhole& f : snapshotWholes()) {
    if (std::strcmp(f.section, section) != 0) continue;
    out += sep + str(f.key) + ": " + std::to_string(s.*f.member);
    sep = ", ";
  }
  return out + "}";
}

void writeWindow(const SystemSnapshot& s, std::string& out) {
  out += wholesInline(s, "window");
}

void writeSettings(const SystemSnapshot& s, std::string& out) {
  out += "{\n";
  const char* sep = "";
  for (const ScalarField& f : worldScalars()) {
    if (!saved(f)) continue;
    out += sep + std::string("    ") + str(f.name) + ": " + num(numberOf(s.world, f));
    sep = ",\n";
  }
  out += "\n  }";
}

void writeBodies(const SystemSnapshot& s, std::string& out) {
  const int n = savedEntries(s.world);
  out += "{\n";
  const char* sep = "";
  for (const TableField& t : worldTables()) {
    out += sep + std::string("    ") + str(t.name) + ": " + table(s.world, t, n);
    sep = ",\n";
  }
  out += "\n  }";
}

void writeRandom(const SystemSnapshot& s, std::string& out) {
  out += "{\"state\": " + str(s.rngState) + ", \"draws\": " + std::to_string(s.rngDraws) + "}";
}

void writePanel(const SystemSnapshot& s, std::string& out) {
  out += "{\n";
  out += "    \"texts\": " + textMap(s.texts, "    ") + ",\n";
  out += "    \"checks\": {";
  const char* sep = "";
  for (const auto& [id, v] : s.checks) {
    out += sep + str(id) + ": " + std::to_string(v);
    sep = ", ";
  }
  out += "},\n";
  out += "    \"border\": " + std::to_string(s.borderOption) + ",\n";
  out += "    \"accepted\": " + textMap(s.accepted, "    ") + "\n";
  out += "  }";
}

void writeEditor(const SystemSnapshot& s, std::string& out) {
  out += wholesInline(s, "editor");
}

void writeSpeed(const SystemSnapshot& s, std::string& out) {
  out += wholesInline(s, "speed");
}

void writeTimers(const SystemSnapshot& s, std::string& out) {
  out += "{";
  const char* sep = "\n";
  for (const auto& [name, t] : s.timers) {
    out += sep + std::string("    ") + str(name) +
           ": {\"interval\": " + std::to_string(t.interval) +
           ", \"enabled\": " + (t.enabled ? "true" : "false") +
           ", \"dueInMs\": " + std::to_string(t.dueInMs) + "}";
    sep = ",\n";
  }
  out += "\n  }";
}

// ---- Reading -------------------------------------------------------------------

struct Refusal {
  std::string why;
};

[[noreturn]] void refuse(std::string why) {
  throw Refusal{std::move(why)};
}

// An object with exactly the fields `names`: the first missing or extra is refused.
const Json& object(const Json& j, const std::string& what, const std::vector<std::string>& names) {
  if (!j.is_object()) refuse(what + " is " + typeName(j) + ", not an object");
  for (const std::string& n : names) {
    if (!j.contains(n)) refuse(what + " has no field \"" + n + "\"");
  }
  const std::set<std::string> known(names.begin(), names.end());
  for (const auto& [k, v] : j.items()) {
    if (!known.contains(k))
      refuse(what + " has a field \"" + k + "\" that this version does not know");
  }
  return j;
}

double number(const Json& j, const std::string& what) {
  if (!j.is_number()) refuse(what + " is " + typeName(j) + ", not a number");
  const double v = j.get<double>();
  if (!std::isfinite(v)) refuse(what + " is not a finite number");
  return v;
}

long long whole(const Json& j, const std::string& what, long long lo, long long hi) {
  const double v = number(j, what);
  if (v != std::floor(v)) refuse(what + " " + num(v) + " is not a whole number");
  if (v < static_cast<double>(lo) || v > static_cast<double>(hi)) {
    refuse(what + " " + num(v) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
  }
  return static_cast<long long>(v);
}

std::string text(const Json& j, const std::string& what) {
  if (!j.is_string()) refuse(what + " is " + typeName(j) + ", not a text");
  return j.get<std::string>();
}

bool boolean(const Json& j, const std::string& what) {
  if (!j.is_boolean()) refuse(what + " is " + typeName(j) + ", not true or false");
  return j.get<bool>();
}

std::map<std::string, std::string> texts(const Json& j, const std::string& what) {
  if (!j.is_object()) refuse(what + " is " + typeName(j) + ", not an object");
  std::map<std::string, std::string> out;
  for (const auto& [k, v] : j.items()) {
    // Longer than any field holds: refused before it is copied.
    if (v.is_string() && v.get_ref<const std::string&>().size() > 4 * kMaxSavedTextLength) {
      refuse("the text of " + k + " is longer than " + std::to_string(kMaxSavedTextLength) +
             " characters");
    }
    out[k] = text(v, "the text of " + k);
  }
  return out;
}

// The fields of `section` in the snapshot's list of whole numbers.
std::vector<std::string> wholeKeys(const char* section) {
  std::vector<std::string> keys;
  for (const SnapshotWhole& f : snapshotWholes()) {
    if (std::strcmp(f.section, section) == 0) keys.emplace_back(f.key);
  }
  return keys;
}

// Reads the whole numbers of `section` from `j`, an object holding them.
void readWholes(const Json& j, const char* section, SystemSnapshot& s) {
  for (const SnapshotWhole& f : snapshotWholes()) {
    if (std::strcmp(f.section, section) != 0) continue;
    s.*f.member = static_cast<int>(whole(j.at(f.key), f.spoken, INT32_MIN, INT32_MAX));
  }
}

void readWholeSection(const Json& j, const char* section, SystemSnapshot& s) {
  readWholes(object(j, section, wholeKeys(section)), section, s);
}

void readWindow(const Json& j, SystemSnapshot& s) {
  readWholeSection(j, "window", s);
}

void readEditor(const Json& j, SystemSnapshot& s) {
  readWholeSection(j, "editor", s);
}

void readSpeed(const Json& j, SystemSnapshot& s) {
  readWholeSection(j, "speed", s);
}

void readSettings(const Json& j, SystemSnapshot& s) {
  std::vector<std::string> names;
  for (const ScalarField& f : worldScalars()) {
    if (saved(f)) names.emplace_back(f.name);
  }
  const Json& settings = object(j, "settings", names);
  for (const ScalarField& f : worldScalars()) {
    if (!saved(f)) continue;
    const Json& v = settings.at(f.name);
    if (isWhole(f)) {
      const WholeRange r = typeRange(f);
      setNumber(s.world, f, static_cast<double>(whole(v, f.name, r.lo, r.hi)));
    } else {
      setNumber(s.world, f, number(v, f.name));
    }
  }
}

void readTable(const Json& list, const TableField& t, size_t entries, World& w) {
  if (!list.is_array()) refuse(std::string(t.name) + " is " + typeName(list) + ", not a list");
  if (list.size() != entries) {
    refuse(std::string(t.name) + " has " + std::to_string(list.size()) + " entries, PlanetX " +
           std::to_string(entries));
  }
  for (size_t i = 0; i < entries; ++i) {
    const std::string what = std::string(t.name) + "(" + std::to_string(i) + ")";
    double v = 0;
    if (isWhole(t)) {
      v = static_cast<double>(whole(list[i], what, INT16_MIN, INT16_MAX));
    } else {
      v = number(list[i], what);
      if (!holds(t, v)) refuse(what + " is not a single-precision number");
    }
    setEntry(w, t, static_cast<int>(i), v);
  }
}

void readBodies(const Json& j, SystemSnapshot& s) {
  std::vector<std::string> names;
  for (const TableField& t : worldTables()) names.emplace_back(t.name);
  const Json& b = object(j, "bodies", names);
  // The first table's length is every table's.
  const char* first = worldTables().front().name;
  const Json& x = b.at(first);
  if (!x.is_array()) refuse(std::string(first) + " is " + typeName(x) + ", not a list");
  if (x.empty() || x.size() > static_cast<size_t>(kMaxBodies)) {
    refuse("the tables have " + std::to_string(x.size()) + " entries, not 1.." +
           std::to_string(kMaxBodies));
  }
  for (const TableField& t : worldTables()) readTable(b.at(t.name), t, x.size(), s.world);
}

void readRandom(const Json& j, SystemSnapshot& s) {
  const Json& random = object(j, "random", {"state", "draws"});
  s.rngState = text(random.at("state"), "the random generator's state");
  s.rngDraws = static_cast<uint64_t>(
      whole(random.at("draws"), "the random generator's draws", 0, (1LL << 53)));
}

void readPanel(const Json& j, SystemSnapshot& s) {
  std::vector<std::string> names = {"texts", "checks", "accepted"};
  for (const auto& k : wholeKeys("panel")) names.push_back(k);
  const Json& p = object(j, "panel", names);
  s.texts = texts(p.at("texts"), "panel.texts");
  const Json& checks = p.at("checks");
  if (!checks.is_object())
    refuse(std::string("panel.checks is ") + typeName(checks) + ", not an object");
  for (const auto& [k, v] : checks.items()) {
    s.checks[k] = static_cast<int>(whole(v, "the check box " + k, INT32_MIN, INT32_MAX));
  }
  readWholes(p, "panel", s);
  s.accepted = texts(p.at("accepted"), "panel.accepted");
}

void readTimers(const Json& j, SystemSnapshot& s) {
  if (!j.is_object()) refuse(std::string("timers is ") + typeName(j) + ", not an object");
  for (const auto& [name, v] : j.items()) {
    const std::string what = "the timer " + name;
    const Json& t = object(v, what, {"interval", "enabled", "dueInMs"});
    TimerSnapshot& ts = s.timers[name];
    ts.interval =
        static_cast<int>(whole(t.at("interval"), what + "'s interval", INT32_MIN, INT32_MAX));
    ts.enabled = boolean(t.at("enabled"), what + "'s enabled");
    ts.dueInMs = whole(t.at("dueInMs"), what + "'s dueInMs", INT32_MIN, INT32_MAX);
  }
}

// The picture's pixels, decoded only when its header names the size of the field
// of the saved window; a picture of any other size is kept as its size alone, for
// checkSnapshot to name, and one larger than any field is refused unread.
void readPicture(const Json& j, SystemSnapshot& s) {
  if (!j.is_string()) refuse(std::string("the picture is ") + typeName(j) + ", not a text");
  const std::string& encoded = j.get_ref<const std::string&>();
  const auto decoded = QByteArray::fromBase64Encoding(
      QByteArray::fromRawData(encoded.data(), static_cast<qsizetype>(encoded.size())),
      QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) refuse("the picture is not base64 text");
  const int mostW = Surface::fieldWidthFor(kMaxSavedWindowExtent);
  const int mostH = Surface::fieldHeightFor(kMaxSavedWindowExtent);
  // A window beyond the format's range has no field here (checkSnapshot names it).
  const auto saveable = [](int extent) { return extent > 0 && extent <= kMaxSavedWindowExtent; };
  const bool sane = saveable(s.windowWidth) && saveable(s.windowHeight);
  const int fieldW = sane ? Surface::fieldWidthFor(s.windowWidth) : -1;
  const int fieldH = sane ? Surface::fieldHeightFor(s.windowHeight) : -1;
  PngPicture picture =
      decodePng(std::string_view((*decoded).constData(), static_cast<size_t>((*decoded).size())),
                [&](int w, int h) { return w == fieldW && h == fieldH; });
  using Outcome = PngPicture::Outcome;
  if (picture.outcome == Outcome::kNotPng) refuse("the picture is not a PNG");
  if (picture.width > mostW || picture.height > mostH) {
    refuse("the picture is " + std::to_string(picture.width) + " x " +
           std::to_string(picture.height) + " pixels, too large for any window (" +
           std::to_string(mostW) + " x " + std::to_string(mostH) + " at most)");
  }
  if (picture.outcome == Outcome::kDamaged) refuse("the picture is a damaged PNG");
  s.pictureWidth = picture.width;
  s.pictureHeight = picture.height;
  s.pixels = std::move(picture.pixels);
}

// ---- The file's sections -------------------------------------------------------

// Every section of the file after "format" and "version", in the order written, with
// the version that brought it. A file of an earlier version has no newer section:
// the snapshot keeps its default there.
struct Section {
  const char* key;
  int since;
  void (*write)(const SystemSnapshot&, std::string&);
  void (*read)(const Json&, SystemSnapshot&);
};

// clang-format off
constexpr Section kSections[] = {
    {"window",   1, writeWindow,   readWindow},
    {"settings", 1, writeSettings, readSettings},
    {"bodies",   1, writeBodies,   readBodies},
    {"random",   1, writeRandom,   readRandom},
    {"panel",    1, writePanel,    readPanel},
    {"editor",   1, writeEditor,   readEditor},
    {"speed",    2, writeSpeed,    readSpeed},
    {"timers",   1, writeTimers,   readTimers},
    {"picture",  1, nullptr,       readPicture},  // written from its PNG, encoded first
};
// clang-format on

// A Velmora system of a version above this game's, as the refusal; nothing for any
// other JSON. Asked first, and of what was read of a file refused on the way, so that
// a newer file is refused as such whatever else about it is new.
std::optional<std::string> newerVersion(const Json& root) {
  if (!root.is_object() || !root.contains("format") || root.at("format") != kSystemFormatName ||
      !root.contains("version")) {
    return std::nullopt;
  }
  const Json& v = root.at("version");
  if (!v.is_number() || !(v.get<double>() > kSystemFormatVersion)) return std::nullopt;
  return "it was saved by a newer Velmora (version " + num(v.get<double>()) +
         "; this one reads version " + std::to_string(kSystemFormatVersion) + ")";
}

int versionOf(const Json& root) {
  if (auto newer = newerVersion(root)) refuse(*newer);
  if (!root.is_object()) refuse(std::string("it is ") + typeName(root) + ", not a Velmora system");
  if (!root.contains("format") || root.at("format") != kSystemFormatName) {
    refuse("it is not a Velmora system (no \"format\": \"velmora-system\")");
  }
  const Json& v = root.contains("version") ? root.at("version") : Json();
  return static_cast<int>(whole(v, "the version", 1, kSystemFormatVersion));
}

SystemSnapshot read(const Json& root) {
  const int version = versionOf(root);
  std::vector<std::string> keys = {"format", "version"};
  for (const Section& section : kSections) {
    if (section.since <= version) keys.emplace_back(section.key);
  }
  object(root, "the file", keys);
  SystemSnapshot s;
  for (const Section& section : kSections) {
    if (section.since <= version) section.read(root.at(section.key), s);
  }
  return s;
}

// What the format's shape allows: three containers deep (timers.Ti.interval), a
// list as long as a table, as many fields in one object as the panel could have, and
// in all no more values than every table full and every object full.
constexpr size_t kMostFields = 1024;
JsonBudget systemBudget() {
  return JsonBudget{3, static_cast<size_t>(kMaxBodies), kMostFields,
                    worldTables().size() * static_cast<size_t>(kMaxBodies) + 8 * kMostFields};
}

}  // namespace

std::string encodeSystem(const SystemSnapshot& s) {
  const std::string picture = pngBase64(s);
  if (picture.empty()) return {};
  std::string out = "{\n";
  out += "  \"format\": " + str(kSystemFormatName) + ",\n";
  out += "  \"version\": " + std::to_string(kSystemFormatVersion) + ",\n";
  for (const Section& section : kSections) {
    out += "  " + str(section.key) + ": ";
    if (section.write != nullptr) {
      section.write(s, out);
    } else {
      out += "\"" + picture + "\"";
    }
    out += &section == &kSections[std::size(kSections) - 1] ? "\n" : ",\n";
  }
  out += "}\n";
  return out;
}

std::variant<SystemSnapshot, std::string> decodeSystem(const std::string& fileText) {
  try {
    ParsedJson parsed = parseSystemJson(fileText, systemBudget());
    if (!parsed.refusal.empty()) return newerVersion(parsed.root).value_or(parsed.refusal);
    return read(parsed.root);
  } catch (const Refusal& r) {
    return r.why;
  } catch (const Json::exception& e) {
    return std::string("it cannot be read (") + e.what() + ")";
  } catch (const std::bad_alloc&) {
    return std::string("there is not enough memory to read it");
  }
}

}  // namespace velmora
