// Leaving the game through the end screen, and the link to our page on how a
// solar system forms.
#include "app/end_screen.h"

#include <string>

#include "state/game.h"

namespace velmora {

void Command1_Click(Game& g) {
  // Hidden rather than disabled: the end screen is then the only window, so closing
  // it through the window manager leaves nothing behind that cannot be used.
  g.fs7.setVisible(false);
  g.EndCommand2->setCaption(g.webPageUrl);
  g.formEnd.setVisible(true);
}

void WebBit(Game& g) {
  if (g.host.openUrl(g.webPageUrl)) return;
  g.host.messageBox("Cannot find Browser:",
                    "No web browser could be started to show the page " + g.webPageUrl);
}

void Command3_Click(Game& g) {
  WebBit(g);
}

void Command6_Click(Game& g) {
  WebBit(g);
}

void ImMoon_Click(Game& g) {
  WebBit(g);
}

void FormEnd_Command1_Click(Game& g, int) {
  g.host.endProgram();
}

void FormEnd_Command2_Click(Game& g) {
  WebBit(g);
}

}  // namespace velmora
