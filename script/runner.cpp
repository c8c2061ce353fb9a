#include "script/runner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/field_tools.h"
#include "app/new_system.h"
#include "app/preview.h"
#include "app/time_control.h"
#include "app/timeline.h"
#include "app/typed_value.h"
#include "form/convert.h"
#include "form/player.h"
#include "platform/system_file.h"
#include "script/control_items.h"
#include "script/headless.h"
#include "script/json_dump.h"
#include "script/world_items.h"
#include "state/game.h"

namespace velmora {

namespace {

// A line the runner cannot understand: the run stops with status 2.
struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool parseInt(const std::string& s, long long& out) {
  if (s.empty()) return false;
  size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  if (i == s.size() || s.size() - i > 12) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  out = s[0] == '-' ? -v : v;
  return true;
}

class ScriptRun {
 public:
  ScriptRun(TallyStorage& tally, std::ostream& out, std::ostream& err)
      : out_(out), err_(err), headless_(tally, out), game_(headless_.game()) {}

  int play(const std::string& script) {
    std::istringstream lines(script);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == '#') continue;
      try {
        perform(number, line);
      } catch (const ScriptError& e) {
        err_ << number << ": " << e.what() << "\n";
        return 2;
      }
      if (headless_.ended()) {
        out_ << "end\n";
        return 0;
      }
    }
    return 0;
  }

 private:
  // Splits "word rest": the action and what follows its one blank.
  static std::pair<std::string, std::string> split(const std::string& s) {
    const auto blank = s.find(' ');
    if (blank == std::string::npos) return {s, ""};
    return {s.substr(0, blank), s.substr(blank + 1)};
  }

  static std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
  }

  // "TXg(2)" in the main window, "FormEnd.Command1(0)" on the end screen.
  Control& control(const std::string& id) const {
    Control* c = nullptr;
    if (id.rfind("FormEnd.", 0) == 0) {
      c = game_.formEnd.findById(id.substr(8));
    } else {
      c = game_.fs7.findById(id);
    }
    if (c == nullptr) throw ScriptError("unknown control " + id);
    return *c;
  }

  bool available(int number, const Control& c, const std::string& id) const {
    if (c.available()) return true;
    err_ << number << ": " << id << " is not available\n";
    return false;
  }

  void requireKind(const Control& c, const std::string& id, std::initializer_list<Kind> kinds,
                   const std::string& action) const {
    for (Kind k : kinds) {
      if (c.kind() == k) return;
    }
    throw ScriptError("cannot " + action + " " + id + ", a " + kindName(c.kind()));
  }

  // One line of the script: its number, the action word and what follows it.
  struct Line {
    int number;
    std::string action;
    std::string rest;
  };
  using Action = void (ScriptRun::*)(const Line&);

  // Every action the runner knows, by its word.
  static const std::vector<std::pair<std::string, Action>>& actions() {
    static const std::vector<std::pair<std::string, Action>> table = {
        {"type", &ScriptRun::typeText},
        {"enter", &ScriptRun::typeText},
        {"leave", &ScriptRun::leave},
        {"click", &ScriptRun::click},
        {"dblclick", &ScriptRun::doubleClick},
        {"scroll", &ScriptRun::scroll},
        {"wait", &ScriptRun::wait},
        {"step", &ScriptRun::step},
        {"speed", &ScriptRun::speed},
        {"time", &ScriptRun::timeOfDay},
        {"size", &ScriptRun::size},
        {"print", &ScriptRun::print},
        {"dump", &ScriptRun::dump},
        {"png", &ScriptRun::png},
        {"save", &ScriptRun::save},
        {"open", &ScriptRun::open},
        {"hash", &ScriptRun::hash},
        {"pick", &ScriptRun::fieldTool},
        {"drag", &ScriptRun::fieldTool},
        {"aim", &ScriptRun::fieldTool},
        {"add", &ScriptRun::fieldTool},
        {"orbit", &ScriptRun::fieldTool},
        {"preview", &ScriptRun::preview},
        {"new", &ScriptRun::newSystemAction},
        {"seek", &ScriptRun::alongTheTimeline},
        {"back", &ScriptRun::alongTheTimeline},
        {"undo", &ScriptRun::alongTheTimeline},
        {"redo", &ScriptRun::alongTheTimeline},
    };
    return table;
  }

  void perform(int number, const std::string& text) {
    auto [action, rest] = split(text);
    const Line line{number, std::move(action), std::move(rest)};
    for (const auto& [word, run] : actions()) {
      if (line.action == word) return (this->*run)(line);
    }
    throw ScriptError("unknown action " + line.action);
  }

  // "type ID TEXT" types into a text box; "enter ID TEXT" then leaves it.
  void typeText(const Line& line) {
    const auto [id, text] = split(line.rest);
    Control& c = control(id);
    requireKind(c, id, {Kind::TextBox}, line.action);
    if (!available(line.number, c, id)) return;
    if (c.locked()) {
      err_ << line.number << ": " << id << " is not available\n";
      return;
    }
    playerType(c, text);
    if (line.action == "enter") playerLeave(c);
  }

  void leave(const Line& line) {
    Control& c = control(line.rest);
    requireKind(c, line.rest, {Kind::TextBox}, line.action);
    if (!available(line.number, c, line.rest)) return;
    playerLeave(c);
  }

  void click(const Line& line) {
    Control& c = control(line.rest);
    requireKind(c, line.rest,
                {Kind::CommandButton, Kind::Label, Kind::Image, Kind::CheckBox, Kind::OptionButton,
                 Kind::PictureBox, Kind::Shape},
                line.action);
    if (!available(line.number, c, line.rest)) return;
    playerClick(c);
  }

  void doubleClick(const Line& line) {
    Control& c = control(line.rest);
    if (!available(line.number, c, line.rest)) return;
    playerDoubleClick(c);
  }

  void scroll(const Line& line) {
    const auto w = words(line.rest);
    long long value = 0;
    if (w.size() != 2 || !parseInt(w[1], value)) throw ScriptError("usage: scroll CONTROL VALUE");
    Control& c = control(w[0]);
    requireKind(c, w[0], {Kind::ScrollBar}, line.action);
    if (!available(line.number, c, w[0])) return;
    playerScroll(c, static_cast<int>(std::clamp<long long>(value, -2147483647LL, 2147483647LL)));
  }

  void wait(const Line& line) {
    long long ms = 0;
    if (!parseInt(line.rest, ms) || ms < 0) throw ScriptError("usage: wait MS");
    headless_.wait(ms);
  }

  void step(const Line& line) {
    if (!line.rest.empty()) throw ScriptError("usage: step");
    if (!stepOnce(game_)) err_ << line.number << ": step is not available\n";
  }

  void speed(const Line& line) {
    const auto level = TimeSpeed::parse(line.rest);
    if (!level) throw ScriptError("usage: speed 1/8|1/4|1/2|1|2|4|8");
    game_.speed.setLevel(*level);
  }

  void timeOfDay(const Line& line) {
    const std::string& rest = line.rest;
    int h = 0, m = 0, s = 0;
    char extra = 0;
    if (std::sscanf(rest.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &extra) != 3 || h < 0 || h > 23 ||
        m < 0 || m > 59 || s < 0 || s > 59 || rest.size() != 8) {
      throw ScriptError("usage: time HH:MM:SS");
    }
    headless_.clock().setTimeOfDay(h, m, s);
  }

  void size(const Line& line) {
    const auto w = words(line.rest);
    long long width = 0, height = 0;
    // 100000 twips is 6667 pixels, more than a screen holds; the surface follows the
    // size, so a larger one would ask for gigabytes.
    if (w.size() != 2 || !parseInt(w[0], width) || !parseInt(w[1], height) || width < 0 ||
        height < 0 || width > 100000 || height > 100000) {
      throw ScriptError("usage: size W H (twips, 0 to 100000)");
    }
    game_.resize(static_cast<int>(width), static_cast<int>(height));
  }

  void print(const Line& line) {
    std::string printed;
    for (const auto& item : words(line.rest)) printed += item + "=" + printItem(item) + "\n";
    out_ << printed;
  }

  void dump(const Line& line) {
    if (line.rest.empty()) throw ScriptError("usage: dump FILE");
    std::ofstream file(line.rest, std::ios::binary);
    if (!file) throw ScriptError("cannot write " + line.rest);
    writeJsonDump(game_, file);
  }

  void png(const Line& line) {
    if (line.rest.empty()) throw ScriptError("usage: png FILE");
    if (!writePng(game_.surface, line.rest)) throw ScriptError("cannot write " + line.rest);
  }

  void save(const Line& line) {
    if (line.rest.empty()) throw ScriptError("usage: save FILE");
    applyTypedValue(game_);  // a value typed and not yet left is saved as it runs
    saveSystemTelling(game_, line.rest);
  }

  void open(const Line& line) {
    if (line.rest.empty()) throw ScriptError("usage: open FILE");
    openSystemTelling(game_, line.rest);
  }

  void hash(const Line&) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%016llx",
                  static_cast<unsigned long long>(worldHash(game_.world)));
    out_ << "hash=" << buf << "\n";
  }

  // "pick X Y", "drag X Y", "add X Y" in twips of the field, "aim MX MY" in twips
  // per tick, "orbit" alone: the tools on the field of a paused game.
  void fieldTool(const Line& line) {
    const bool takesPoint = line.action != "orbit";
    const auto w = words(line.rest);
    std::optional<double> a, b;
    if (w.size() == 2) {
      a = strictNumberOf(w[0]);
      b = strictNumberOf(w[1]);
    }
    if (takesPoint ? !(a && b && std::isfinite(*a) && std::isfinite(*b)) : !w.empty()) {
      throw ScriptError(takesPoint ? "usage: " + line.action + " X Y" : "usage: orbit");
    }
    ToolOutcome outcome = ToolOutcome::kNotAvailable;
    if (line.action == "pick") outcome = pickAt(game_, *a, *b);
    if (line.action == "drag") outcome = dragTo(game_, *a, *b);
    if (line.action == "aim") outcome = aimAt(game_, *a, *b);
    if (line.action == "add") outcome = addBodyAt(game_, *a, *b);
    if (line.action == "orbit") outcome = orbitSelected(game_);
    if (outcome == ToolOutcome::kNotAvailable) {
      err_ << line.number << ": " << line.action << " is not available\n";
    } else if (outcome == ToolOutcome::kTableFull) {
      err_ << line.number << ": add: every body of the tables is in use\n";
    }
  }

  void newSystemAction(const Line& line) {
    if (!line.rest.empty()) throw ScriptError("usage: new");
    applyTypedValue(game_);
    if (!newSystem(game_)) err_ << line.number << ": new is not available\n";
  }

  // "preview T": the world T ticks ahead, for PreviewX(i) and PreviewY(i).
  void preview(const Line& line) {
    long long ticks = 0;
    if (!parseInt(line.rest, ticks) || ticks < 1 || ticks > kMostPreviewTicks) {
      throw ScriptError("usage: preview T (ticks, 1 to " + std::to_string(kMostPreviewTicks) + ")");
    }
    if (!pausedForEditing(game_)) {
      err_ << line.number << ": preview is not available\n";
      return;
    }
    applyTypedValue(game_);
    preview_ = std::make_unique<World>(runAhead(futureStart(game_), static_cast<int>(ticks)));
  }

  // "seek T", "back", "undo", "redo": a move the game refuses is noted, nothing changed.
  void alongTheTimeline(const Line& line) {
    Timeline& t = *game_.timeline;
    std::optional<std::string> refused;
    if (line.action == "seek") {
      long long tick = 0;
      refused =
          parseInt(line.rest, tick) ? t.seek(game_, tick) : "\"" + line.rest + "\" is not a tick";
    } else if (!line.rest.empty()) {
      throw ScriptError("usage: " + line.action);
    } else {
      refused = line.action == "back"   ? t.back(game_)
                : line.action == "undo" ? t.undo(game_)
                                        : t.redo(game_);
    }
    if (refused)
      err_ << line.number << ": " << line.action << " is not available: " << *refused << "\n";
  }

  std::string printItem(const std::string& item) const {
    const auto dot = item.rfind('.');
    if (dot != std::string::npos) {
      const std::string owner = item.substr(0, dot);
      const std::string prop = item.substr(dot + 1);
      if (owner == "FormEnd" || owner == "Fs7") {
        const Form& f = owner == "FormEnd" ? game_.formEnd : game_.fs7;
        if (prop == "Visible") return f.visible() ? "True" : "False";
        if (prop == "Enabled") return f.enabled() ? "True" : "False";
        if (prop == "Caption") return f.caption();
        if (prop == "Width") return std::to_string(f.width());
        if (prop == "Height") return std::to_string(f.height());
        throw ScriptError("unknown property " + item);
      }
      const auto value = controlProperty(control(owner), prop);
      if (!value) throw ScriptError("unknown property " + item);
      return *value;
    }
    for (const auto& s : scalarItems()) {
      if (item == s.name) return s.text(game_.world);
    }
    if (const auto entry = tableEntryText(game_.world, item)) return *entry;
    const Timeline& t = *game_.timeline;
    if (item == "Tick") return std::to_string(t.tick());
    if (item == "TimelineFirst") return std::to_string(t.first());
    if (item == "TimelineLast") return std::to_string(t.last(game_));
    if (item == "TimelineBytes") return std::to_string(t.bytes());
    if (item.rfind("PreviewX(", 0) == 0 || item.rfind("PreviewY(", 0) == 0) {
      if (!preview_) throw ScriptError("no preview for " + item + ": preview T first");
      if (const auto entry = tableEntryText(*preview_, "Planet" + item.substr(7))) return *entry;
    }
    throw ScriptError("unknown item " + item);
  }

  std::ostream& out_;
  std::ostream& err_;
  HeadlessGame headless_;
  Game& game_;
  std::unique_ptr<World> preview_;  // the last preview's world
};

}  // namespace

int runScript(const std::string& scriptText, TallyStorage& tally, std::ostream& out,
              std::ostream& err) {
  ScriptRun run(tally, out, err);
  const int status = run.play(scriptText);
  out.flush();
  return status;
}

int runScriptFile(const std::string& path, TallyStorage& tally, std::ostream& out,
                  std::ostream& err) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    err << "0: cannot read " << path << "\n";
    return 2;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return runScript(text.str(), tally, out, err);
}

}  // namespace velmora
