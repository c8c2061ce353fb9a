#include "script/render.h"

#include <ostream>

#include "form/player.h"
#include "platform/system_file.h"
#include "script/headless.h"
#include "state/game.h"

namespace velmora {

namespace {

bool clickIfAvailable(Control& c, std::ostream& err) {
  if (!c.available()) {
    err << "velmora: " << c.id() << " is not available\n";
    return false;
  }
  playerClick(c);
  return true;
}

int writeField(const Game& g, const std::string& path, std::ostream& err) {
  if (!writePng(g.surface, path)) {
    err << "velmora: cannot write " << path << "\n";
    return 2;
  }
  return 0;
}

// Opens the saved system, resumes it and lets it run.
int renderSaved(const RenderRequest& r, HeadlessGame& headless, std::ostream& err) {
  Game& g = headless.game();
  if (const auto why = openSystemFile(g, r.open)) {
    err << "velmora: " << *why << "\n";
    return 2;
  }
  if (r.ticks > 0) {
    playerClick(*g.Command5);
    headless.wait(r.ticks * g.Ti->interval());
  }
  return writeField(g, r.path, err);
}

}  // namespace

int renderPicture(const RenderRequest& r, TallyStorage& tally, std::ostream& out,
                  std::ostream& err) {
  if (r.preset < 0 || r.preset > 6) {
    err << "velmora: --preset takes 1 to 6\n";
    return 2;
  }
  if (r.ticks < 0) {
    err << "velmora: --ticks takes a count of 0 or more\n";
    return 2;
  }
  HeadlessGame headless(tally, out);
  Game& g = headless.game();
  if (!r.open.empty()) return renderSaved(r, headless, err);
  if (r.preset > 0 && !clickIfAvailable(*g.CDp[r.preset - 1], err)) return 2;
  if (r.seed) {
    if (g.CHran->value() == 0 && !clickIfAvailable(*g.CHran, err)) return 2;
    if (!g.TXran->available() || g.TXran->locked()) {
      err << "velmora: TXran is not available\n";
      return 2;
    }
    playerType(*g.TXran, std::to_string(*r.seed));
    playerLeave(*g.TXran);
  }
  if (r.spin && g.CHgod->value() == 0 && !clickIfAvailable(*g.CHgod, err)) return 2;
  if (!clickIfAvailable(*g.Command2, err)) return 2;
  headless.wait(r.ticks * g.Ti->interval());
  return writeField(g, r.path, err);
}

}  // namespace velmora
