// Leaving the game through the end screen, and the web link.
#pragma once

namespace velmora {

class Game;

void Command1_Click(Game& g);
// WebBit: opens the web page, or says in a message box that no browser started.
void WebBit(Game& g);
void Command3_Click(Game& g);
void Command6_Click(Game& g);
void ImMoon_Click(Game& g);
void FormEnd_Command1_Click(Game& g, int index);
void FormEnd_Command2_Click(Game& g);

}  // namespace velmora
