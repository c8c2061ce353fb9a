// What the window adds to the game's own panel (offscreen): captions for the bare
// fields, editor fields wide enough for a whole number, a link that reads like
// one, and the roles, names, descriptions and values a screen reader gets through
// QAccessible.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <utility>
#include <vector>

#include "app/control_names.h"
#include "qt/end_window_view.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/web_page.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

class PanelFaceTest : public ::testing::Test {
 protected:
  PanelFaceTest() : session(dir.filePath("tallyho.ogg").toStdString()), g(session.game()) {
    session.start();
  }
  QWidget* widget(const Control* c) { return session.widget(*c); }
  QLabel* captionOf(const Control* c) { return session.mainWindow().captionOf(*c); }

  QTemporaryDir dir;
  GameSession session;
  Game& g;
};

QString accessible(QWidget* w, QAccessible::Text what) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a == nullptr ? QString() : a->text(what);
}

TEST_F(PanelFaceTest, BareFieldsGetCaptionsAboveThemAndTheGameCaptionsStayAsTheyAre) {
  const std::pair<const Control*, const char*> expected[] = {
      {g.TXw[0], "Planets"},     {g.TXt, "ms per step"}, {g.TXg[2], "Law r^x"},
      {g.TXg[3], "Max gravity"}, {g.CHgr, "Random g"},   {g.TXran, "Seed"},
      {g.TXref, "Clear every s"}};
  for (const auto& [field, text] : expected) {
    QLabel* caption = captionOf(field);
    ASSERT_NE(caption, nullptr) << field->id();
    EXPECT_EQ(caption->text(), text);
    EXPECT_TRUE(caption->isVisible()) << field->id();
    const QRect f = widget(field)->geometry();
    EXPECT_EQ(caption->geometry().bottom() + 1, f.top()) << field->id();
    EXPECT_EQ(caption->x(), f.x()) << field->id();
  }
  // The model knows nothing of them.
  EXPECT_EQ(g.TXran->toolTip(), "Randomizer Seed");
  EXPECT_EQ(g.Label8->caption(), "time");

  // The game's own caption, once shown, takes the place of ours.
  g.Label8->setVisible(true);
  QCoreApplication::processEvents();
  EXPECT_FALSE(captionOf(g.TXt)->isVisible());
  EXPECT_TRUE(widget(g.Label8)->isVisible());
  g.Label8->setVisible(false);
  g.TXt->setVisible(false);
  QCoreApplication::processEvents();
  EXPECT_FALSE(captionOf(g.TXt)->isVisible());
}

TEST_F(PanelFaceTest, EditorFieldsShowALongNumberWholeAndTheirTipsCarryIt) {
  g.fs7.focus(nullptr);
  for (Control* bar : g.Hsp) bar->setVisible(true);
  for (size_t i = 0; i < g.TXTp.size(); ++i) {
    g.TXTp[i]->setVisible(true);
    auto* field = qobject_cast<QLineEdit*>(widget(g.TXTp[i]));
    const std::string longest = "-0.000" + std::string(15, '8');
    g.TXTp[i]->setText(longest);
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QRect inside =
        field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    // QLineEdit keeps two pixels a side for its cursor.
    EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), inside.width() - 4)
        << "TXTp(" << i << ") is " << field->width() << " wide";
    EXPECT_EQ(field->toolTip(), QString::fromStdString(g.TXTp[i]->toolTip() + "\n" + longest));
    EXPECT_EQ(g.TXTp[i]->toolTip().find(longest), std::string::npos);  // the game's tip stays
    if (i < g.Hsp.size()) {
      const QRect bar = widget(g.Hsp[i])->geometry();
      EXPECT_GT(bar.left(), field->geometry().right()) << i;
      EXPECT_GE(bar.width(), 40) << i;
    }
  }
}

TEST_F(PanelFaceTest, TheEndScreenLinkShowsThePageTitleAndStillOpensThePage) {
  QTemporaryDir pages;
  const QString page = pages.filePath("how-solar-system-formed.htm");
  QFile file(page);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<html><head><title> How the solar system formed </title></head></html>");
  file.close();
  g.webPageUrl = QUrl::fromLocalFile(page).toString().toStdString();
  ASSERT_TRUE(session.mainWindow().binder().click(*g.Command1));
  auto* link = qobject_cast<QPushButton*>(widget(g.EndCommand2));
  EXPECT_EQ(link->text(), "How the solar system formed");
  EXPECT_EQ(accessible(link, QAccessible::Name), "How the solar system formed");
  EXPECT_EQ(accessible(link, QAccessible::Description), QString::fromStdString(g.webPageUrl));
  EXPECT_EQ(g.EndCommand2->caption(), g.webPageUrl);
  // The click reaches the game, which opens g.webPageUrl (no browser in a test).
  int clicks = 0;
  g.EndCommand2->onClick = [&clicks] { ++clicks; };
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);

  EXPECT_EQ(linkText("file:///nowhere/how-solar-system-formed.htm"), "how-solar-system-formed.htm");
  EXPECT_EQ(linkText("https://example.invalid/page"), "https://example.invalid/page");
}

TEST_F(PanelFaceTest, EveryControlSpeaksTheNameAndDescriptionOfTheTable) {
  const std::vector<ControlName> names = controlNames(g);
  int checked = 0;
  for (const auto& c : g.fs7.controls()) {
    QWidget* w = widget(c.get());
    if (w == nullptr) continue;
    ++checked;
    const SpokenText text = spokenTextOf(names, *c);
    EXPECT_FALSE(text.name.empty()) << c->id();
    EXPECT_EQ(accessible(w, QAccessible::Name).toStdString(), text.name) << c->id();
    EXPECT_EQ(accessible(w, QAccessible::Description).toStdString(), text.description) << c->id();
  }
  EXPECT_GT(checked, 100);
  for (const auto& c : g.formEnd.controls()) {
    EXPECT_FALSE(accessible(widget(c.get()), QAccessible::Name).isEmpty()) << c->id();
    EXPECT_FALSE(accessible(widget(c.get()), QAccessible::Description).isEmpty()) << c->id();
  }
  // The caption beside a field, or ours, and the field's tip.
  EXPECT_EQ(accessible(widget(g.Text1), QAccessible::Name), "Radius");
  EXPECT_EQ(accessible(widget(g.Text1), QAccessible::Description), "Planet Radius");
  EXPECT_EQ(accessible(widget(g.TXran), QAccessible::Name), "Seed");
  EXPECT_EQ(accessible(widget(g.TXTp[2]), QAccessible::Name), "Xm");
  EXPECT_EQ(accessible(widget(g.Hsp[2]), QAccessible::Description), "Horizontal Momentum");
  EXPECT_EQ(accessible(widget(g.CHsol), QAccessible::Name), "Fix the sun");
  // A tip or a caption the game changes reaches the reader too.
  g.TXg[2]->setToolTip("tip");
  EXPECT_EQ(accessible(widget(g.TXg[2]), QAccessible::Description), "tip");
  ASSERT_TRUE(session.mainWindow().binder().click(*g.CDp[3]));
  EXPECT_EQ(accessible(widget(g.Label11), QAccessible::Name),
            QString::fromStdString(g.Label11->caption()));
}

TEST_F(PanelFaceTest, OptionsAreRadioButtonsOfANamedGroup) {
  const std::pair<const Control*, const char*> groups[] = {{g.Och[0], "Border Math"},
                                                           {g.Opadd[0], "Editor mode"}};
  for (const auto& [option, group] : groups) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget(option));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->parent(), nullptr);
    EXPECT_EQ(a->parent()->role(), QAccessible::Grouping) << option->id();
    EXPECT_EQ(a->parent()->text(QAccessible::Name), group) << option->id();
  }
  auto checkedOptions = [this](const auto& options) {
    std::vector<int> checked;
    for (size_t i = 0; i < options.size(); ++i) {
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget(options[i]));
      EXPECT_EQ(a->role(), QAccessible::RadioButton) << options[i]->id();
      EXPECT_TRUE(a->state().checkable) << options[i]->id();
      if (a->state().checked) checked.push_back(static_cast<int>(i));
    }
    return checked;
  };
  EXPECT_EQ(checkedOptions(g.Och), std::vector<int>{6});  // "die", chosen at start-up
  QTest::mouseClick(widget(g.Och[2]), Qt::LeftButton);
  EXPECT_EQ(checkedOptions(g.Och), std::vector<int>{2});
  // The arrow keys move through the group, selecting as they go, as a click does.
  session.mainWindow().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&session.mainWindow()));
  widget(g.Och[2])->setFocus(Qt::TabFocusReason);
  QTest::keyClick(widget(g.Och[2]), Qt::Key_Right);
  EXPECT_TRUE(g.Och[3]->selected());
  EXPECT_EQ(checkedOptions(g.Och), std::vector<int>{3});
  // The model may leave a group with none selected, as resuming does with the modes.
  g.Opadd[1]->setValue(1);
  EXPECT_EQ(checkedOptions(g.Opadd), std::vector<int>{1});
  g.Opadd[1]->setValue(0);
  EXPECT_EQ(checkedOptions(g.Opadd), std::vector<int>{});
  for (const Control* box : {g.CHsol, g.Chbi, g.CHgr, g.Chon}) {
    EXPECT_EQ(QAccessible::queryAccessibleInterface(widget(box))->role(), QAccessible::CheckBox)
        << box->id();
  }
}

TEST_F(PanelFaceTest, ValuesAreReadUnderTheNameOfWhatTheyShow) {
  g.Label2->setCaption("21");
  g.Label3->setCaption("0.0004");
  g.Label3->setToolTip("0.009");
  const std::pair<const Control*, const char*> readouts[] = {{g.Label2, "Elapsed time"},
                                                             {g.Label3, "Current score"}};
  for (const auto& [label, name] : readouts) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget(label));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::StaticText);
    EXPECT_EQ(a->text(QAccessible::Name), name);
    const QString value = QString::fromStdString(label->caption());
    EXPECT_EQ(a->text(QAccessible::Value), value);
    ASSERT_NE(a->textInterface(), nullptr);
    EXPECT_EQ(a->textInterface()->text(0, a->textInterface()->characterCount()), value);
    EXPECT_FALSE(a->text(QAccessible::Description).contains("0.0")) << name;
  }
  g.Label2->setCaption("22");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(widget(g.Label2))->text(QAccessible::Value),
            "22");
}

}  // namespace
}  // namespace velmora::qt
