#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "editor_fixture.h"
#include "form/convert.h"

namespace velmora {
namespace {

using testing::GameFixture;
using testing::pauseOrResume;
using testing::startSystem;

class EditorEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    startSystem(f, 10);
    pauseOrResume(f);
    f.scroll(*g.Qui, 4);
  }
  void tab(int field) { f.leave(*g.TXTp[field]); }
  GameFixture f;
  Game& g = f.g;
  World& w = f.g.world;
};

TEST_F(EditorEditing, NegativePositionIsCorrectedThenStoredAtTheNextTab) {
  f.type(*g.TXTp[0], "-5");
  tab(0);
  EXPECT_EQ(g.TXTp[0]->text(), "0");
  EXPECT_EQ(w.PlanetX[4], 2149);
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 0);
}

TEST_F(EditorEditing, TooLargeMomentumIsCorrectedAndNotStored) {
  f.type(*g.TXTp[3], "250");
  tab(3);
  EXPECT_EQ(g.TXTp[3]->text(), "200");
  EXPECT_EQ(w.MomentumY[4], 1.75);
}

TEST_F(EditorEditing, OneCorrectionPerTabInTheOrderOfTheChecks) {
  g.TXTp[1]->setText("-1");
  g.TXTp[2]->setText("300");
  tab(2);
  EXPECT_EQ(g.TXTp[1]->text(), "0");
  EXPECT_EQ(g.TXTp[2]->text(), "300");
  tab(2);
  EXPECT_EQ(g.TXTp[2]->text(), "200");
  EXPECT_EQ(w.PlanetY[4], 1586);
  EXPECT_EQ(w.MomentumX[4], 1.125);
  tab(2);
  EXPECT_EQ(w.PlanetY[4], 0);
  EXPECT_EQ(w.MomentumX[4], 200);
}

TEST_F(EditorEditing, WidthIsCheckedAtSinglePrecision) {
  f.type(*g.TXTp[0], "17895.0004");  // the same single as 17895
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 17895.0004);
  f.type(*g.TXTp[0], "17895.01");
  tab(0);
  EXPECT_EQ(g.TXTp[0]->text(), "17895");
  EXPECT_EQ(w.PlanetX[4], 17895.0004);
}

TEST_F(EditorEditing, TypedGravityStoresAndRetypesTheBody) {
  f.type(*g.TXTp[4], "0.05");
  tab(4);
  EXPECT_EQ(w.PlanetGravity[4], 0.05);
  EXPECT_EQ(w.PlanetType[4], 2);
  EXPECT_EQ(g.TxTyp->text(), "2");
}

TEST_F(EditorEditing, IncompleteNumbersAreNeverStored) {
  g.TXTp[0]->setText("3000");
  g.TXTp[4]->setText("0.5x");
  tab(4);
  EXPECT_EQ(w.PlanetX[4], 2149);
  EXPECT_EQ(w.PlanetGravity[4], 0.002);
  EXPECT_EQ(g.TXTp[0]->text(), "2149");
  EXPECT_EQ(g.TXTp[4]->text(), "0.002");

  f.type(*g.TXTOden, "4 ");  // blanks around a number are still the number
  f.type(*g.TXTp[0], "3000");
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 3000);

  f.type(*g.TXTOden, "4b");
  f.type(*g.TXTp[0], "3500");
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 3000);
  EXPECT_EQ(g.TXTp[0]->text(), "3000");
  f.click(*g.Chon);
  EXPECT_EQ(w.PlanetOff[4], 0);
  EXPECT_EQ(g.Chon->value(), 0);
}

TEST_F(EditorEditing, ScrollBarsStoreAtOnceInScrollBarModeOnly) {
  f.click(*g.Opadd[1]);
  w.PlanetX[4] = 9999.5;  // differ from the fields, which still show the old values
  w.PlanetGravity[4] = 0.7;
  EXPECT_TRUE(g.Hsp[2]->visible());
  EXPECT_TRUE(g.TXTp[2]->locked());
  EXPECT_FALSE(g.TXTp[4]->locked());
  EXPECT_EQ(g.Hsp[0]->value(), 2149);
  f.scroll(*g.Hsp[2], 37);
  EXPECT_EQ(w.MomentumX[4], 37);
  EXPECT_EQ(g.TXTp[2]->text(), "37");
  // Only the field the bar moved is stored; the others were not edited.
  EXPECT_EQ(w.PlanetX[4], 9999.5);
  EXPECT_EQ(w.PlanetGravity[4], 0.7);
  EXPECT_EQ(g.TXTp[0]->text(), "9999.5");

  w.PlanetX[6] = 1234.6;
  f.scroll(*g.Qui, 6);
  EXPECT_EQ(w.PlanetX[6], 1235);
  EXPECT_EQ(g.Hsp[0]->value(), 1235);

  f.click(*g.Opadd[0]);
  EXPECT_FALSE(g.Hsp[2]->visible());
  EXPECT_FALSE(g.TXTp[2]->locked());
  w.PlanetX[7] = 1500.4;
  f.scroll(*g.Qui, 7);
  EXPECT_EQ(g.Hsp[0]->value(), 1500);
  EXPECT_EQ(w.PlanetX[7], 1500.4);
}

TEST_F(EditorEditing, PositionBeyondItsBarIsShownClampedAndNotStored) {
  f.click(*g.Opadd[1]);
  w.PlanetX[5] = 20000.25;
  w.PlanetY[5] = -50;
  f.scroll(*g.Qui, 5);
  EXPECT_EQ(g.Hsp[0]->value(), kDefaultWindowWidth);
  EXPECT_EQ(g.Hsp[1]->value(), 0);
  EXPECT_EQ(w.PlanetX[5], 20000.25);
  EXPECT_EQ(w.PlanetY[5], -50);
}

TEST_F(EditorEditing, ChonSwitchesTheSunOffAndOn) {
  f.scroll(*g.Qui, 0);
  ASSERT_EQ(g.LaVida->caption(), " 0 dead, alive 11");
  f.click(*g.Chon);
  EXPECT_EQ(w.PlanetOff[0], 1);
  EXPECT_EQ(g.Chon->caption(), "Planet OFF");
  EXPECT_EQ(g.Chon->foreColor(), (Rgb{191, 96, 0}));
  EXPECT_EQ(g.LaVida->caption(), " 1 dead, alive 10");
  f.click(*g.Chon);
  EXPECT_EQ(w.PlanetOff[0], 0);
  EXPECT_EQ(g.Chon->caption(), "Planet ON");
  EXPECT_EQ(g.Chon->foreColor(), (Rgb{128, 255, 191}));
  EXPECT_EQ(g.LaVida->caption(), " 0 dead, alive 11");
}

// The fields show fifteen digits; a field left as shown stores nothing, so the
// body keeps its values to the last bit, and an edit changes only its own value.
TEST_F(EditorEditing, UnchangedFieldsStoreNothingAndKeepTheBodyExact) {
  w.PlanetX[3] = std::nextafter(1000.3, 2000.0);
  w.MomentumX[3] = -0.0098204780211432711;
  w.MomentumY[3] = 1.0 / 3;
  w.PlanetGravity[3] = 303.26992106151234;
  f.scroll(*g.Qui, 3);
  ASSERT_EQ(g.TXTp[0]->text(), "1000.3");
  const World before = w;
  for (int field = 0; field < 5; ++field) {
    f.type(*g.TXTp[field], g.TXTp[field]->text());
    tab(field);
  }
  for (auto table : {&World::PlanetX, &World::PlanetY, &World::MomentumX, &World::MomentumY,
                     &World::PlanetGravity}) {
    EXPECT_EQ(std::bit_cast<uint64_t>((w.*table)[3]), std::bit_cast<uint64_t>((before.*table)[3]));
  }

  f.type(*g.TXTp[0], "1200");
  tab(0);
  EXPECT_EQ(w.PlanetX[3], 1200);
  EXPECT_EQ(w.MomentumX[3], before.MomentumX[3]);
  EXPECT_EQ(w.MomentumY[3], before.MomentumY[3]);
  EXPECT_EQ(w.PlanetGravity[3], before.PlanetGravity[3]);
}

// A body number typed without showing it through the label names the body the
// edit goes to; only the edited value goes there, not the shown body's others.
TEST_F(EditorEditing, AnEditForATypedBodyNumberStoresOnlyTheEditedValue) {
  f.scroll(*g.Qui, 3);
  const World before = w;
  f.type(*g.TXTOden, "7");
  f.type(*g.TXTp[2], "12.5");
  tab(2);
  EXPECT_EQ(w.MomentumX[7], 12.5);
  EXPECT_EQ(w.PlanetX[7], before.PlanetX[7]);
  EXPECT_EQ(w.PlanetY[7], before.PlanetY[7]);
  EXPECT_EQ(w.MomentumY[7], before.MomentumY[7]);
  EXPECT_EQ(w.PlanetGravity[7], before.PlanetGravity[7]);
  EXPECT_EQ(w.MomentumX[3], before.MomentumX[3]);
  EXPECT_EQ(g.TXTp[0]->text(), textOf(before.PlanetX[7]));  // body 7 is shown now
}

// With a body number outside the tables nothing can be stored; the editor then
// shows the body it showed, never a value or a switch state that was thrown away.
TEST_F(EditorEditing, NothingStoredForABodyOutsideTheTablesAndTheBodyShownAgain) {
  f.click(*g.Chalive);  // "live only" off: bodies that are off can be shown
  ASSERT_EQ(g.Chalive->value(), 0);
  w.PlanetOff[5] = 1;
  f.scroll(*g.Qui, 3);
  const World before = w;
  f.type(*g.TXTOden, "1000");
  f.click(*g.Chon);
  EXPECT_EQ(g.Chon->value(), 0);
  EXPECT_EQ(g.Chon->caption(), "Planet ON");
  EXPECT_EQ(g.Chon->foreColor(), (Rgb{128, 255, 191}));
  f.type(*g.TXTp[0], "3000");
  tab(0);
  EXPECT_EQ(g.TXTp[0]->text(), textOf(before.PlanetX[3]));
  EXPECT_EQ(w.PlanetX, before.PlanetX);
  EXPECT_EQ(w.PlanetOff, before.PlanetOff);

  // Bodies on and off shown after that show their own state.
  f.scroll(*g.Qui, 4);
  EXPECT_EQ(g.Chon->caption(), "Planet ON");
  f.scroll(*g.Qui, 5);
  EXPECT_EQ(g.Chon->value(), 1);
  EXPECT_EQ(g.Chon->caption(), "Planet OFF");
  EXPECT_EQ(g.Chon->foreColor(), (Rgb{191, 96, 0}));
}

// Showing a body sets the box's caption and colour from the body even when the
// box's value does not change and so raises no click.
TEST_F(EditorEditing, ShowingABodySetsTheSwitchCaptionWhateverItsValue) {
  f.click(*g.Chalive);
  ASSERT_EQ(g.Chalive->value(), 0);
  w.PlanetOff[6] = 1;
  f.scroll(*g.Qui, 6);
  g.Chon->setCaption("Planet ON");  // a caption out of step with the value
  g.Chon->setForeColor({1, 2, 3});
  f.click(*g.La[0]);
  EXPECT_EQ(g.Chon->value(), 1);
  EXPECT_EQ(g.Chon->caption(), "Planet OFF");
  EXPECT_EQ(g.Chon->foreColor(), (Rgb{191, 96, 0}));
}

}  // namespace
}  // namespace velmora
