// Drives the real window (offscreen): what the player does to a widget reaches the
// model through the player actions, and what the model changes shows at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "qt/click_widgets.h"
#include "qt/end_window_view.h"
#include "qt/field_canvas.h"
#include "qt/game_session.h"
#include "qt/help_window.h"
#include "qt/main_window_view.h"
#include "qt/picture_file.h"
#include "qt/timer_driver.h"
#include "qt/web_page.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setStyle("Fusion");
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[9] = "qt_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Counts how often a handler of the model runs, keeping the handler it wraps.
struct Count {
  explicit Count(Control::Handler& slot) {
    slot = [prior = slot, this] {
      ++n;
      Control::raise(prior);
    };
  }
  int n = 0;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : session(dir.filePath("tallyho.ogg").toStdString()), g(session.game()) {
    session.start();
  }

  template <class W>
  W* widget(const Control* c) {
    return qobject_cast<W*>(session.widget(*c));
  }

  bool activate() {
    session.mainWindow().activateWindow();
    return QTest::qWaitForWindowActive(&session.mainWindow());
  }

  QTemporaryDir dir;
  GameSession session;
  Game& g;
};

TEST_F(WindowTest, OpensWithCaptionPanelTextsAndTheDefaultField) {
  MainWindowView& w = session.mainWindow();
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.windowTitle(), "Quorrel 3 : Velmora");
  EXPECT_EQ(widget<QLineEdit>(g.TXg[0])->text(), "100");
  EXPECT_EQ(widget<QLineEdit>(g.TXw[0])->text(), "150");
  EXPECT_EQ(widget<QLineEdit>(g.TXg[1])->toolTip(), "Gravity of largest Planet");
  EXPECT_EQ(widget<QCheckBox>(g.CHran)->text(), "Random");
  EXPECT_EQ(widget<QPushButton>(g.Command2)->text(), "Go");
  EXPECT_FALSE(widget<QPushButton>(g.Command2)->icon().isNull());
  EXPECT_EQ(widget<QLabel>(g.La[14])->text(), "Sets");
  EXPECT_TRUE(widget<QRadioButton>(g.Och[6])->isChecked());  // selected by Load
  EXPECT_TRUE(widget<QPushButton>(g.CDp[5])->isVisible());
  EXPECT_FALSE(widget<QPushButton>(g.Command4)->isVisible());
  EXPECT_FALSE(widget<QLineEdit>(g.TXn)->isVisible());

  EXPECT_EQ(w.canvas().size(), QSize(1133, 868));
  EXPECT_EQ(g.W(), kDefaultWindowWidth);
  EXPECT_EQ(g.H(), kDefaultWindowHeight);
  // Overlays stand on the field in the bodies' twips.
  QWidget* intro = session.widget(*g.Label7);
  EXPECT_EQ(intro->parentWidget(), &w.canvas());
  EXPECT_EQ(intro->pos(), QPoint((g.Label7->left() - 900) / 15, g.Label7->top() / 15));
}

TEST_F(WindowTest, VisiblePanelControlsStayInsideThePanelAndNeverOverlap) {
  QWidget& panel = session.mainWindow().panel();
  std::vector<QWidget*> shown;
  for (QWidget* child : panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isVisible()) shown.push_back(child);
  }
  ASSERT_GT(shown.size(), 40u);
  for (size_t i = 0; i < shown.size(); ++i) {
    EXPECT_TRUE(panel.rect().contains(shown[i]->geometry()))
        << shown[i]->objectName().toStdString();
    for (size_t j = i + 1; j < shown.size(); ++j) {
      EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
          << shown[i]->objectName().toStdString() << " and "
          << shown[j]->objectName().toStdString();
    }
  }
  // The border options inside their frame.
  QWidget* frame = session.widget(*g.Frame1);
  for (Control* option : g.Och) {
    EXPECT_TRUE(frame->rect().contains(session.widget(*option)->geometry())) << option->id();
  }
}

TEST_F(WindowTest, TypingReachesTheModelAndLeavingRunsLostFocusOnce) {
  ASSERT_TRUE(activate());
  Count text1Left(g.Text1->onLostFocus);
  QLineEdit* field = widget<QLineEdit>(g.Text1);
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, "7");
  EXPECT_EQ(g.Text1->text(), "7");
  EXPECT_EQ(g.fs7.focused(), g.Text1);
  EXPECT_EQ(text1Left.n, 0);  // typing alone runs no LostFocus

  QTest::keyClick(field, Qt::Key_Tab);
  EXPECT_EQ(text1Left.n, 1);
  EXPECT_FALSE(field->hasFocus());
  EXPECT_NE(g.fs7.focused(), g.Text1);

  // Return moves on the way Tab does.
  Count text5Left(g.Text5->onLostFocus);
  QLineEdit* bond = widget<QLineEdit>(g.Text5);
  bond->setFocus();
  QTest::keyClick(bond, Qt::Key_Return);
  EXPECT_EQ(text5Left.n, 1);
  EXPECT_FALSE(bond->hasFocus());
  EXPECT_EQ(text1Left.n, 1);
}

TEST_F(WindowTest, ReturnWalksThePanelInReadingOrderAndLockedFieldsTakeNoTyping) {
  ASSERT_TRUE(activate());
  QLineEdit* count = widget<QLineEdit>(g.TXw[0]);
  count->setFocus();
  QTest::keyClick(count, Qt::Key_Return);
  EXPECT_TRUE(session.widget(*g.TXt)->hasFocus());  // its neighbour, not the hidden TXn
  QTest::keyClick(session.widget(*g.TXt), Qt::Key_Return);
  EXPECT_TRUE(session.widget(*g.TXg[0])->hasFocus());

  g.TXg[0]->setLocked(true);
  QTest::keyClicks(session.widget(*g.TXg[0]), "9");
  EXPECT_EQ(g.TXg[0]->text(), "100");
}

TEST_F(WindowTest, TheFieldShowsTheSurfaceWhereItsTwipsAre) {
  g.surface.plot(900 + 15 * 10, 15 * 20, {255, 0, 0});
  g.surface.plot(900 + 15 * 1132, 15 * 867, {0, 0, 255});
  const QImage shown = session.mainWindow().canvas().grab().toImage();
  EXPECT_EQ(shown.pixelColor(10, 20), QColor(255, 0, 0));
  EXPECT_EQ(shown.pixelColor(1132, 867), QColor(0, 0, 255));
  EXPECT_EQ(shown.pixelColor(11, 20), QColor(0, 0, 0));
}

TEST_F(WindowTest, ClickingClearClearsTheSurface) {
  g.Command4->setVisible(true);
  auto* clear = widget<QPushButton>(g.Command4);
  ASSERT_TRUE(clear->isVisible());
  g.surface.plot(900 + 15 * 10, 15 * 20, {255, 0, 0});
  ASSERT_EQ(g.surface.pixel(10, 20), Surface::pack({255, 0, 0}));
  QTest::mouseClick(clear, Qt::LeftButton);
  EXPECT_EQ(g.surface.pixel(10, 20), Surface::pack({0, 0, 0}));
}

TEST_F(WindowTest, ModelChangesShowAtOnce) {
  g.Label11->setCaption("A preset explained");
  EXPECT_EQ(widget<QLabel>(g.Label11)->text(), "A preset explained");
  g.TXg[2]->setText("2.5");
  EXPECT_EQ(widget<QLineEdit>(g.TXg[2])->text(), "2.5");
  g.TXg[2]->setToolTip("tip");
  EXPECT_EQ(session.widget(*g.TXg[2])->toolTip(), "tip");

  // A frame's state is its options' state.
  g.Frame1->setEnabled(false);
  EXPECT_FALSE(session.widget(*g.Och[3])->isEnabled());
  g.Frame1->setVisible(false);
  EXPECT_FALSE(session.widget(*g.Och[3])->isVisible());

  g.Command2->setBackColor({191, 255, 127});
  EXPECT_EQ(session.widget(*g.Command2)->palette().color(QPalette::Button), QColor(191, 255, 127));
  g.Command5->setLeft(240);
  EXPECT_EQ(session.widget(*g.Command5)->x(), 16);

  g.TXTp[0]->setLocked(true);
  EXPECT_TRUE(widget<QLineEdit>(g.TXTp[0])->isReadOnly());
  g.Hsp[0]->setMax(500);
  g.Hsp[0]->setValue(300);
  EXPECT_EQ(widget<QScrollBar>(g.Hsp[0])->maximum(), 500);
  EXPECT_EQ(widget<QScrollBar>(g.Hsp[0])->value(), 300);

  g.Shark->setBorderColor({255, 255, 255});
  g.Shark->setFillColor({10, 20, 30});
  EXPECT_EQ(widget<MarkerShape>(g.Shark)->borderColor(), QColor(255, 255, 255));
  EXPECT_EQ(widget<MarkerShape>(g.Shark)->fillColor(), QColor(10, 20, 30));
  g.ImSun->setLeft(900 + 300);
  g.ImSun->setTop(450);
  EXPECT_EQ(session.widget(*g.ImSun)->geometry(), QRect(20, 30, 40, 40));
}

TEST_F(WindowTest, CheckBoxAndOptionClicksAreDecidedByTheModel) {
  auto* spin = widget<QCheckBox>(g.CHgod);
  QTest::mouseClick(spin, Qt::LeftButton);
  EXPECT_EQ(g.CHgod->value(), 1);  // not the partial state Qt's own cycle would pick
  EXPECT_EQ(spin->checkState(), Qt::Checked);

  g.CHgod->onClick = [c = g.CHgod] {
    if (c->value() == 0) c->setValue(2);
  };
  QTest::mouseClick(spin, Qt::LeftButton);
  EXPECT_EQ(g.CHgod->value(), 2);
  EXPECT_EQ(spin->checkState(), Qt::PartiallyChecked);
  spin->setFocus();
  QTest::keyClick(spin, Qt::Key_Space);  // the keyboard goes the same way
  EXPECT_EQ(g.CHgod->value(), 1);
  EXPECT_EQ(spin->checkState(), Qt::Checked);

  Count wrapClicks(g.Och[2]->onClick);
  QTest::mouseClick(widget<QRadioButton>(g.Och[2]), Qt::LeftButton);
  EXPECT_EQ(wrapClicks.n, 1);
  EXPECT_TRUE(g.Och[2]->selected());
  EXPECT_FALSE(g.Och[6]->selected());
  EXPECT_TRUE(widget<QRadioButton>(g.Och[2])->isChecked());
  EXPECT_FALSE(widget<QRadioButton>(g.Och[6])->isChecked());
  QTest::mouseClick(widget<QRadioButton>(g.Och[2]), Qt::LeftButton);
  EXPECT_EQ(wrapClicks.n, 1);  // the selected one raises nothing again
  EXPECT_TRUE(widget<QRadioButton>(g.Och[2])->isChecked());
}

TEST_F(WindowTest, ScrollsDoubleClicksAndPictureClicksReachTheModel) {
  g.Qui->setVisible(true);
  g.Qui->setMax(5);
  Count changes(g.Qui->onChange);
  widget<QScrollBar>(g.Qui)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(g.Qui->value(), 1);
  EXPECT_EQ(changes.n, 1);
  g.Qui->setValue(4);  // the model's own change raises Change once, not again by the widget
  EXPECT_EQ(changes.n, 2);
  EXPECT_EQ(widget<QScrollBar>(g.Qui)->value(), 4);

  Count doubles(g.Text4->onDblClick);
  QTest::mouseDClick(widget<QLineEdit>(g.Text4), Qt::LeftButton);
  EXPECT_EQ(doubles.n, 1);

  Count coreClicks(g.La[2]->onClick);
  QTest::mouseClick(session.widget(*g.La[2]), Qt::LeftButton);
  EXPECT_EQ(coreClicks.n, 1);
  g.ImMoon->onClick = {};  // the click must reach the model; no browser in a test
  Count moonClicks(g.ImMoon->onClick);
  QTest::mouseClick(session.widget(*g.ImMoon), Qt::LeftButton);
  EXPECT_EQ(moonClicks.n, 1);
}

TEST_F(WindowTest, AFieldTheModelHidesWhileFocusedIsLeftAfterTheHandler) {
  ASSERT_TRUE(activate());
  QLineEdit* field = widget<QLineEdit>(g.TXTrange);
  field->setFocus();
  ASSERT_TRUE(field->hasFocus());
  Count left(g.TXTrange->onLostFocus);
  g.TXTrange->setVisible(false);  // as a handler would: no LostFocus nested in it
  EXPECT_FALSE(field->hasFocus());
  EXPECT_EQ(left.n, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(left.n, 1);
}

TEST_F(WindowTest, TimersFollowEnabledAndInterval) {
  const QTimer* ti = session.timers().timerFor(*g.Ti);
  const QTimer* tr = session.timers().timerFor(*g.Tr);
  EXPECT_FALSE(ti->isActive());
  EXPECT_TRUE(tr->isActive());
  EXPECT_EQ(tr->interval(), 15);
  EXPECT_EQ(ti->timerType(), Qt::PreciseTimer);

  g.Ti->setEnabled(true);
  EXPECT_TRUE(ti->isActive());
  g.Ti->setInterval(40);
  EXPECT_TRUE(ti->isActive());
  EXPECT_EQ(ti->interval(), 40);
  g.Ti->setInterval(0);  // never ticks
  EXPECT_FALSE(ti->isActive());
  g.Tr->setEnabled(false);
  EXPECT_FALSE(tr->isActive());
}

TEST_F(WindowTest, EachWindowFollowsItsForm) {
  EndWindowView& end = session.endWindow();
  EXPECT_FALSE(end.isVisible());
  g.formEnd.setVisible(true);
  EXPECT_TRUE(end.isVisible());
  EXPECT_EQ(end.windowTitle(), "Form1");
  EXPECT_EQ(end.size(), QSize(701, 605));
  EXPECT_EQ(session.widget(*g.EndCommand1[1])->geometry(), QRect(652, 0, 49, 49));
  g.EndCommand2->setCaption("http://example.invalid");
  EXPECT_EQ(widget<QPushButton>(g.EndCommand2)->text(), "http://example.invalid");

  g.fs7.setEnabled(false);
  EXPECT_FALSE(session.mainWindow().isEnabled());
  g.fs7.setVisible(false);
  EXPECT_FALSE(session.mainWindow().isVisible());
}

TEST_F(WindowTest, TheFieldAndTheGameWindowResizeTogether) {
  MainWindowView& w = session.mainWindow();
  w.resize(w.size() + QSize(150, 60));
  EXPECT_EQ(w.canvas().size(), QSize(1133 + 150, 868 + 60));
  EXPECT_EQ(g.W(), 900 + (1133 + 150) * 15);
  EXPECT_EQ(g.H(), (868 + 60) * 15 + 300);
  EXPECT_EQ(g.surface.width(), 1133 + 150);

  g.resize(900 + 1000 * 15, 800 * 15 + 300);  // a size the model sets itself
  EXPECT_EQ(w.canvas().size(), QSize(1000, 800));
}

TEST_F(WindowTest, ClosingTheMainWindowEndsTheGame) {
  session.mainWindow().close();
  EXPECT_TRUE(session.ended());
  EXPECT_FALSE(session.endWindow().isVisible());
}

}  // namespace
}  // namespace velmora::qt

namespace velmora::qt {
namespace {

TEST_F(WindowTest, KeysClickTheirControlsOnlyWhileTheyAreAvailable) {
  ASSERT_TRUE(activate());
  MainWindowView& w = session.mainWindow();
  Count go(g.Command2->onClick);
  Count pause(g.Command5->onClick);
  Count clear(g.Command4->onClick);

  // Before a system runs there is nothing to pause or clear.
  QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(pause.n, 0);
  EXPECT_EQ(clear.n, 0);

  // Go from inside a field: the field is left first, as with a mouse click.
  Count text1Left(g.Text1->onLostFocus);
  QLineEdit* field = widget<QLineEdit>(g.Text1);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(go.n, 1);
  EXPECT_EQ(text1Left.n, 1);
  EXPECT_TRUE(g.Ti->enabled());
  EXPECT_FALSE(g.Command2->visible());
  QTest::keyClick(&w, Qt::Key_F5);  // Go is hidden while the system runs
  EXPECT_EQ(go.n, 1);

  g.surface.plot(900 + 15 * 10, 15 * 20, {255, 0, 0});
  QTest::keyClick(&w, Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(clear.n, 1);
  EXPECT_EQ(g.surface.pixel(10, 20), Surface::pack({0, 0, 0}));

  QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(pause.n, 1);
  EXPECT_TRUE(g.Frame2->visible());
  EXPECT_FALSE(g.Ti->enabled());
  QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(pause.n, 2);
  EXPECT_FALSE(g.Frame2->visible());
  EXPECT_TRUE(g.Ti->enabled());
}

TEST_F(WindowTest, F1OpensTheHelpListingTheKeys) {
  ASSERT_TRUE(activate());
  MainWindowView& w = session.mainWindow();
  EXPECT_EQ(w.helpWindow(), nullptr);
  QTest::keyClick(&w, Qt::Key_F1);
  ASSERT_NE(w.helpWindow(), nullptr);
  EXPECT_TRUE(w.helpWindow()->isVisible());
  const QString text = w.helpWindow()->findChild<QTextBrowser*>("helpText")->toPlainText();
  for (const char* key : {"Ctrl+G", "F5", "Ctrl+P", "Ctrl+L", "Ctrl+S", "F1"}) {
    EXPECT_TRUE(text.contains(key)) << key;
  }
  for (const char* word : {"Spin", "Bind", "Border Math", "Score"}) {
    EXPECT_TRUE(text.contains(word)) << word;
  }
}

TEST(PictureFile, DefaultNameCarriesDateAndTimeInThePicturesFolder) {
  const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
  EXPECT_EQ(defaultPictureName(when), "velmora-20260304-050607.png");
  const QString path = defaultPicturePath(when);
  EXPECT_TRUE(path.endsWith("/velmora-20260304-050607.png"));
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  const bool there = !pictures.isEmpty() && QDir(pictures).exists();
  EXPECT_TRUE(path.startsWith(there ? pictures : QDir::homePath()));
}

TEST_F(WindowTest, TheWindowShrinksToItsScreenAndTheFieldFollows) {
  MainWindowView& w = session.mainWindow();
  const QSize screen = w.screen()->availableGeometry().size();
  ASSERT_GT(w.width(), screen.width());  // the default field is wider than the test screen
  w.fitScreen();
  EXPECT_LE(w.width(), screen.width());
  EXPECT_LE(w.height(), screen.height());
  EXPECT_GE(w.width(), w.minimumWidth());
  QCoreApplication::processEvents();
  const QSize field = w.canvas().size();
  EXPECT_EQ(FieldCanvas::fieldSizeFor(g.W(), g.H()), field);
  EXPECT_EQ(w.canvas().x() + field.width(), w.width());
}

TEST(WebPage, TheInstalledPageComesFirstThenTheSourceTreeCopy) {
  QTemporaryDir dir;
  const QString installed = dir.filePath("installed.htm");
  const QString source = dir.filePath("source.htm");
  const std::string fallback = "file:///nowhere.htm";
  EXPECT_EQ(webPageUrlFrom(installed, source, fallback), fallback);
  QFile(source).open(QIODevice::WriteOnly);
  EXPECT_EQ(webPageUrlFrom(installed, source, fallback),
            QUrl::fromLocalFile(source).toString().toStdString());
  QFile(installed).open(QIODevice::WriteOnly);
  EXPECT_EQ(webPageUrlFrom(installed, source, fallback),
            QUrl::fromLocalFile(installed).toString().toStdString());
  // From the build tree the source copy is found.
  EXPECT_NE(webPageUrl(fallback), fallback);
}

}  // namespace
}  // namespace velmora::qt
