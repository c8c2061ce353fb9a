#include "platform/system_format.h"

#include <QByteArray>
#include <QImage>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "platform/png_picture.h"

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
  int last = w.PlanetCount;
  for (int i = kMaxBodies - 1; i > last; --i) {
    if (!isZero(w.PlanetX[i]) || !isZero(w.PlanetY[i]) || !isZero(w.MomentumX[i]) ||
        !isZero(w.MomentumY[i]) || !isZero(w.PlanetGravity[i]) || !isZero(w.PlanetType[i]) ||
        !isZero(w.PlanetRed[i]) || !isZero(w.PlanetGreen[i]) || !isZero(w.PlanetBlue[i]) ||
        w.PlanetOff[i] != 0) {
      last = i;
      break;
    }
  }
  return last + 1;
}

template <class T>
std::string table(const Table<T>& t, int entries) {
  std::string out = "[";
  for (int i = 0; i < entries; ++i) {
    if (i > 0) out += ',';
    out += num(static_cast<double>(t[i]));
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

// ---- Reading -------------------------------------------------------------------

struct Refusal {
  std::string why;
};

[[noreturn]] void refuse(std::string why) {
  throw Refusal{std::move(why)};
}

const char* typeName(const Json& j) {
  if (j.is_object()) return "an object";
  if (j.is_array()) return "a list";
  if (j.is_string()) return "a text";
  if (j.is_boolean()) return "true or false";
  if (j.is_null()) return "null";
  return "a number";
}

// An object with exactly the fields `names`: the first missing or extra is refused.
const Json& object(const Json& j, const std::string& what,
                   std::initializer_list<const char*> names) {
  if (!j.is_object()) refuse(what + " is " + typeName(j) + ", not an object");
  for (const char* n : names) {
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

int16_t whole16(const Json& j, const std::string& what) {
  return static_cast<int16_t>(whole(j, what, INT16_MIN, INT16_MAX));
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

template <class T>
void readTable(const Json& bodies, const char* name, size_t entries, Table<T>& t) {
  const Json& list = bodies.at(name);
  if (!list.is_array()) refuse(std::string(name) + " is " + typeName(list) + ", not a list");
  if (list.size() != entries) {
    refuse(std::string(name) + " has " + std::to_string(list.size()) + " entries, PlanetX " +
           std::to_string(entries));
  }
  for (size_t i = 0; i < entries; ++i) {
    const std::string what = std::string(name) + "(" + std::to_string(i) + ")";
    if constexpr (std::is_same_v<T, int16_t>) {
      t[i] = whole16(list[i], what);
    } else {
      const double v = number(list[i], what);
      if (static_cast<double>(static_cast<T>(v)) != v)
        refuse(what + " is not a single-precision number");
      t[i] = static_cast<T>(v);
    }
  }
}

void readBodies(const Json& j, World& w) {
  const Json& b = object(j, "bodies",
                         {"PlanetX", "PlanetY", "MomentumX", "MomentumY", "PlanetGravity",
                          "PlanetType", "PlanetRed", "PlanetGreen", "PlanetBlue", "PlanetOff"});
  const Json& x = b.at("PlanetX");
  if (!x.is_array()) refuse(std::string("PlanetX is ") + typeName(x) + ", not a list");
  if (x.empty() || x.size() > static_cast<size_t>(kMaxBodies)) {
    refuse("the tables have " + std::to_string(x.size()) + " entries, not 1.." +
           std::to_string(kMaxBodies));
  }
  const size_t n = x.size();
  readTable(b, "PlanetX", n, w.PlanetX);
  readTable(b, "PlanetY", n, w.PlanetY);
  readTable(b, "MomentumX", n, w.MomentumX);
  readTable(b, "MomentumY", n, w.MomentumY);
  readTable(b, "PlanetGravity", n, w.PlanetGravity);
  readTable(b, "PlanetType", n, w.PlanetType);
  readTable(b, "PlanetRed", n, w.PlanetRed);
  readTable(b, "PlanetGreen", n, w.PlanetGreen);
  readTable(b, "PlanetBlue", n, w.PlanetBlue);
  readTable(b, "PlanetOff", n, w.PlanetOff);
}

void readSettings(const Json& j, World& w) {
  const Json& s =
      object(j, "settings",
             {"PlanetCount", "GravityExponent", "PlanetRadius", "BondRange", "SunRadius",
              "ImpactJitter", "ImpactJitterSpan", "StartSpin", "StartSpinSpan", "StartSpinQuarter",
              "BorderMomentumDivisor", "SeedCounter", "TaggedPlanet", "GoBlinkTicks"});
  w.PlanetCount = whole16(s.at("PlanetCount"), "PlanetCount");
  w.GravityExponent = number(s.at("GravityExponent"), "GravityExponent");
  const std::pair<int16_t World::*, const char*> fields[] = {
      {&World::PlanetRadius, "PlanetRadius"},
      {&World::BondRange, "BondRange"},
      {&World::SunRadius, "SunRadius"},
      {&World::ImpactJitter, "ImpactJitter"},
      {&World::ImpactJitterSpan, "ImpactJitterSpan"},
      {&World::StartSpin, "StartSpin"},
      {&World::StartSpinSpan, "StartSpinSpan"},
      {&World::StartSpinQuarter, "StartSpinQuarter"},
      {&World::BorderMomentumDivisor, "BorderMomentumDivisor"},
      {&World::SeedCounter, "SeedCounter"},
      {&World::TaggedPlanet, "TaggedPlanet"},
      {&World::GoBlinkTicks, "GoBlinkTicks"}};
  for (const auto& [field, name] : fields) w.*field = whole16(s.at(name), name);
}

void readPanel(const Json& j, SystemSnapshot& s) {
  const Json& p = object(j, "panel", {"texts", "checks", "border", "accepted"});
  s.texts = texts(p.at("texts"), "panel.texts");
  const Json& checks = p.at("checks");
  if (!checks.is_object())
    refuse(std::string("panel.checks is ") + typeName(checks) + ", not an object");
  for (const auto& [k, v] : checks.items()) {
    s.checks[k] = static_cast<int>(whole(v, "the check box " + k, INT32_MIN, INT32_MAX));
  }
  s.borderOption =
      static_cast<int>(whole(p.at("border"), "the border option", INT32_MIN, INT32_MAX));
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

void readPicture(const Json& j, SystemSnapshot& s) {
  const std::string encoded = text(j, "picture");
  const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(encoded),
                                                      QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) refuse("the picture is not base64 text");
  QImage image;
  if (!image.loadFromData(*decoded, "PNG")) refuse("the picture is not a PNG");
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  s.pictureWidth = rgb.width();
  s.pictureHeight = rgb.height();
  s.pixels.resize(static_cast<size_t>(rgb.width()) * rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    std::memcpy(s.pixels.data() + static_cast<size_t>(y) * rgb.width(), rgb.constScanLine(y),
                static_cast<size_t>(rgb.width()) * 4);
  }
}

SystemSnapshot read(const Json& root) {
  if (!root.is_object()) refuse(std::string("it is ") + typeName(root) + ", not a Velmora system");
  if (!root.contains("format") || root.at("format") != kSystemFormatName) {
    refuse("it is not a Velmora system (no \"format\": \"velmora-system\")");
  }
  const long long version = whole(root.contains("version") ? root.at("version") : Json(),
                                  "the version", 1, std::numeric_limits<int32_t>::max());
  if (version > kSystemFormatVersion) {
    refuse("it was saved by a newer Velmora (version " + std::to_string(version) +
           "; this one reads version " + std::to_string(kSystemFormatVersion) + ")");
  }
  object(root, "the file",
         {"format", "version", "window", "settings", "bodies", "random", "panel", "editor",
          "timers", "picture"});
  SystemSnapshot s;
  const Json& window = object(root.at("window"), "window", {"width", "height"});
  s.windowWidth =
      static_cast<int>(whole(window.at("width"), "the window width", INT32_MIN, INT32_MAX));
  s.windowHeight =
      static_cast<int>(whole(window.at("height"), "the window height", INT32_MIN, INT32_MAX));
  readSettings(root.at("settings"), s.world);
  readBodies(root.at("bodies"), s.world);
  const Json& random = object(root.at("random"), "random", {"state", "draws"});
  s.rngState = text(random.at("state"), "the random generator's state");
  s.rngDraws = static_cast<uint64_t>(
      whole(random.at("draws"), "the random generator's draws", 0, (1LL << 53)));
  readPanel(root.at("panel"), s);
  const Json& editor = object(root.at("editor"), "editor", {"body"});
  s.shownBody =
      static_cast<int>(whole(editor.at("body"), "the editor's body", INT32_MIN, INT32_MAX));
  readTimers(root.at("timers"), s);
  readPicture(root.at("picture"), s);
  return s;
}

}  // namespace

std::string encodeSystem(const SystemSnapshot& s) {
  const std::string picture = pngBase64(s);
  if (picture.empty()) return {};
  const World& w = s.world;
  const int n = savedEntries(w);
  std::string out = "{\n";
  out += "  \"format\": " + str(kSystemFormatName) + ",\n";
  out += "  \"version\": " + std::to_string(kSystemFormatVersion) + ",\n";
  out += "  \"window\": {\"width\": " + std::to_string(s.windowWidth) +
         ", \"height\": " + std::to_string(s.windowHeight) + "},\n";
  out += "  \"settings\": {\n";
  out += "    \"PlanetCount\": " + num(w.PlanetCount) + ",\n";
  out += "    \"GravityExponent\": " + num(w.GravityExponent) + ",\n";
  const std::pair<const char*, int16_t> settings[] = {
      {"PlanetRadius", w.PlanetRadius},
      {"BondRange", w.BondRange},
      {"SunRadius", w.SunRadius},
      {"ImpactJitter", w.ImpactJitter},
      {"ImpactJitterSpan", w.ImpactJitterSpan},
      {"StartSpin", w.StartSpin},
      {"StartSpinSpan", w.StartSpinSpan},
      {"StartSpinQuarter", w.StartSpinQuarter},
      {"BorderMomentumDivisor", w.BorderMomentumDivisor},
      {"SeedCounter", w.SeedCounter},
      {"TaggedPlanet", w.TaggedPlanet},
      {"GoBlinkTicks", w.GoBlinkTicks}};
  for (const auto& [name, v] : settings) {
    out += "    " + str(name) + ": " + std::to_string(v) +
           (std::strcmp(name, "GoBlinkTicks") == 0 ? "\n" : ",\n");
  }
  out += "  },\n";
  out += "  \"bodies\": {\n";
  out += "    \"PlanetX\": " + table(w.PlanetX, n) + ",\n";
  out += "    \"PlanetY\": " + table(w.PlanetY, n) + ",\n";
  out += "    \"MomentumX\": " + table(w.MomentumX, n) + ",\n";
  out += "    \"MomentumY\": " + table(w.MomentumY, n) + ",\n";
  out += "    \"PlanetGravity\": " + table(w.PlanetGravity, n) + ",\n";
  out += "    \"PlanetType\": " + table(w.PlanetType, n) + ",\n";
  out += "    \"PlanetRed\": " + table(w.PlanetRed, n) + ",\n";
  out += "    \"PlanetGreen\": " + table(w.PlanetGreen, n) + ",\n";
  out += "    \"PlanetBlue\": " + table(w.PlanetBlue, n) + ",\n";
  out += "    \"PlanetOff\": " + table(w.PlanetOff, n) + "\n";
  out += "  },\n";
  out += "  \"random\": {\"state\": " + str(s.rngState) +
         ", \"draws\": " + std::to_string(s.rngDraws) + "},\n";
  out += "  \"panel\": {\n";
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
  out += "  },\n";
  out += "  \"editor\": {\"body\": " + std::to_string(s.shownBody) + "},\n";
  out += "  \"timers\": {";
  sep = "\n";
  for (const auto& [name, t] : s.timers) {
    out += sep + std::string("    ") + str(name) +
           ": {\"interval\": " + std::to_string(t.interval) +
           ", \"enabled\": " + (t.enabled ? "true" : "false") +
           ", \"dueInMs\": " + std::to_string(t.dueInMs) + "}";
    sep = ",\n";
  }
  out += "\n  },\n";
  out += "  \"picture\": \"" + picture + "\"\n";
  out += "}\n";
  return out;
}

std::variant<SystemSnapshot, std::string> decodeSystem(const std::string& fileText) {
  Json root;
  try {
    root = Json::parse(fileText);
  } catch (const Json::parse_error& e) {
    if (e.byte >= fileText.size()) return std::string("it is cut short");
    return "it is not JSON (at byte " + std::to_string(e.byte) + ")";
  } catch (const Json::out_of_range&) {
    // The reader refuses a number beyond the double range, such as 1e999.
    return std::string("it holds a number that is not finite");
  }
  try {
    return read(root);
  } catch (const Refusal& r) {
    return r.why;
  } catch (const Json::exception& e) {
    return std::string("it cannot be read (") + e.what() + ")";
  }
}

}  // namespace velmora
