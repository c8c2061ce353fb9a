// "Live only" (Chalive): the selector passes over a body that is off. Moving the
// selector shows the next body, whose change runs Alive again, so one skip re-enters
// itself until it finds a live body; the outermost skip holds the pass (in the
// game's skipPass) that ends it once every body of the cycle has been seen off.
#include <optional>

#include "editor/editor.h"
#include "editor/editor_numbers.h"
#include "state/game.h"

namespace velmora {

namespace {

// Whether the body the editor shows is off and "live only" asks to pass it.
bool passesShownBody(const Game& g) {
  if (g.Chalive->value() == 0) return false;
  const auto n = bodyOf(g.TXTOden->text());
  return n && g.world.PlanetOff[*n] == 1;
}

// The selector's next value from `at`, back to body 0 after the last.
int nextBody(const Game& g, int at) {
  return at + 1 >= g.world.PlanetCount ? 0 : at + 1;
}

// The pass lives only while the outermost skip runs.
class PassScope {
 public:
  PassScope(Game::SkipPass& pass, int origin, int first) : pass_(pass) {
    pass_ = {true, origin, first, false};
  }
  ~PassScope() { pass_ = {}; }
  PassScope(const PassScope&) = delete;
  PassScope& operator=(const PassScope&) = delete;

 private:
  Game::SkipPass& pass_;
};

// The outermost skip: moving on re-enters Alive, inside this pass.
void startPass(Game& g, int at, int next) {
  const PassScope scope(g.skipPass, at, next);
  g.Qui->setValue(next);
}

// A skip inside the pass moves on, unless it is back where the pass began or
// first moved to: then the selector returns to the beginning and the pass is done.
void continuePass(Game& g, int next) {
  Game::SkipPass& pass = g.skipPass;
  if (pass.done) return;
  if (next == pass.origin || next == pass.first) {
    pass.done = true;
    g.Qui->setValue(pass.origin);
    return;
  }
  g.Qui->setValue(next);
}

}  // namespace

void Alive(Game& g) {
  if (!passesShownBody(g)) return;
  const int at = g.Qui->value();
  const int next = nextBody(g, at);
  if (g.skipPass.running) {
    continuePass(g, next);
  } else {
    startPass(g, at, next);
  }
}

}  // namespace velmora
