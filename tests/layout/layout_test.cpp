// The window as it stands on the screen the environment gives (run once per scale
// factor and screen size): every visible caption and field text fits its widget,
// no visible control overlaps a sibling or leaves its parent, and every window
// fits the screen's available area. With VELMORA_LAYOUT_SHOTS=DIR each state is
// also saved there as a picture.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>

#include "qt/end_window_view.h"
#include "qt/field_canvas.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/web_page.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

QString nameOf(const QWidget* w) {
  return w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
}

// The room a widget gives its text, and the text's width in its font.
struct TextRoom {
  QString text;
  int need = 0;
  int room = 0;
};

std::optional<TextRoom> textRoom(QWidget* w) {
  const QFontMetrics fm = w->fontMetrics();
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (label->text().isEmpty()) return std::nullopt;
    const QRect inside = label->contentsRect().marginsRemoved(
        QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
    if (label->wordWrap()) {
      const QRect used =
          fm.boundingRect(inside, Qt::TextWordWrap | label->alignment(), label->text());
      return TextRoom{label->text(), used.height(), inside.height()};
    }
    return TextRoom{label->text(), fm.horizontalAdvance(label->text()), inside.width()};
  }
  if (auto* field = qobject_cast<QLineEdit*>(w)) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    QRect inside = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    inside = inside.marginsRemoved(field->textMargins());
    // QLineEdit keeps two pixels each side for its cursor.
    return TextRoom{field->text(), fm.horizontalAdvance(field->text()), inside.width() - 4};
  }
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    if (button->text().isEmpty()) return std::nullopt;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    int icon = 0;
    if (qobject_cast<QCheckBox*>(w)) {
      contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<QRadioButton*>(w)) {
      contents = QStyle::SE_RadioButtonContents;
    } else if (!button->icon().isNull()) {
      icon = button->iconSize().width() + 4;
    }
    const QRect inside = button->style()->subElementRect(contents, &option, button);
    const QString shown = QString(button->text()).replace("&&", "&");
    return TextRoom{shown, fm.horizontalAdvance(shown) + icon, inside.width()};
  }
  if (auto* frame = qobject_cast<QGroupBox*>(w)) {
    if (frame->title().isEmpty()) return std::nullopt;
    return TextRoom{frame->title(), fm.horizontalAdvance(frame->title()), frame->width()};
  }
  return std::nullopt;
}

// The game's controls and the captions the window adds: the widgets with names,
// not the parts Qt builds them from.
std::vector<QWidget*> visibleControls(QWidget* parent) {
  std::vector<QWidget*> shown;
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isVisibleTo(parent) && !child->objectName().isEmpty() &&
        !child->objectName().startsWith("qt_")) {
      shown.push_back(child);
    }
  }
  return shown;
}

void checkControls(QWidget* parent, const std::string& where) {
  std::vector<QWidget*> shown = visibleControls(parent);
  // What the game puts wholly off the field cannot be seen (the sun's picture at
  // the origin before the first system); a control partly off it still fails.
  std::erase_if(shown, [parent](QWidget* w) { return !parent->rect().intersects(w->geometry()); });
  for (size_t i = 0; i < shown.size(); ++i) {
    QWidget* w = shown[i];
    const std::string name = nameOf(w).toStdString();
    EXPECT_TRUE(parent->rect().contains(w->geometry()))
        << where << ": " << name << " leaves " << nameOf(parent).toStdString();
    if (const auto text = textRoom(w)) {
      EXPECT_LE(text->need, text->room)
          << where << ": the text of " << name << " is cut: \"" << text->text.toStdString() << "\"";
    }
    for (size_t j = i + 1; j < shown.size(); ++j) {
      EXPECT_FALSE(w->geometry().intersects(shown[j]->geometry()))
          << where << ": " << name << " overlaps " << nameOf(shown[j]).toStdString();
    }
    if (qobject_cast<QGroupBox*>(w) != nullptr) checkControls(w, where);
  }
}

void checkWindow(QWidget* window, const std::string& where) {
  ASSERT_TRUE(window->isVisible()) << where;
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->frameGeometry()))
      << where << ": the window " << window->frameGeometry().width() << "x"
      << window->frameGeometry().height() << " at " << window->frameGeometry().x() << ","
      << window->frameGeometry().y() << " leaves the screen " << screen.width() << "x"
      << screen.height();
  checkControls(window, where);
}

void saveShot(QWidget* window, const QString& state) {
  const QString dir = qEnvironmentVariable("VELMORA_LAYOUT_SHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  const QString name = qEnvironmentVariable("VELMORA_SCREEN") + "@" +
                       QString::number(window->devicePixelRatioF()) + "-" + state + ".png";
  // The whole screen where a window system draws one, else the window alone.
  QPixmap shot =
      QGuiApplication::platformName() == "xcb" ? window->screen()->grabWindow(0) : window->grab();
  shot.save(QDir(dir).filePath(name));
}

class LayoutTest : public ::testing::Test {
 protected:
  LayoutTest() : session(dir.filePath("tallyho.ogg").toStdString()), g(session.game()) {
    // The page the game links to, as the executable finds it.
    g.webPageUrl = webPageUrl(g.webPageUrl);
    session.mainWindow().fitScreen();
    session.start();
    exposed = QTest::qWaitForWindowExposed(&session.mainWindow());
  }

  MainWindowView& main() { return session.mainWindow(); }
  void click(Control* c) { ASSERT_TRUE(session.mainWindow().binder().click(*c)) << c->id(); }
  void checkMain(const char* state) {
    ASSERT_TRUE(exposed);
    QCoreApplication::processEvents();
    const std::string where = qEnvironmentVariable("VELMORA_SCREEN").toStdString() + " at " +
                              std::to_string(main().devicePixelRatioF()) + ", " + state;
    checkWindow(&main(), where);
    checkControls(&main().panel(), where + ", panel");
    checkControls(&main().canvas(), where + ", field");
    saveShot(&main(), state);
  }

  QTemporaryDir dir;
  GameSession session;
  Game& g;
  bool exposed = false;
};

// The matrix means nothing unless each run gets the screen and scale it names.
TEST_F(LayoutTest, TheScreenIsTheOneAsked) {
  const QStringList size = qEnvironmentVariable("VELMORA_SCREEN").split('x');
  if (size.size() != 2) GTEST_SKIP() << "no VELMORA_SCREEN given";
  const QScreen* screen = main().screen();
  const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
  EXPECT_DOUBLE_EQ(screen->devicePixelRatio(), scale);
  const QSize device = screen->geometry().size() * screen->devicePixelRatio();
  EXPECT_NEAR(device.width(), size[0].toInt(), 1);
  EXPECT_NEAR(device.height(), size[1].toInt(), 1);
}

TEST_F(LayoutTest, TheStartScreenFits) {
  checkMain("start");
  // The intro boxes stand on the field.
  for (Control* intro : {g.Label7, g.Label11}) {
    const QWidget* box = session.widget(*intro);
    EXPECT_TRUE(main().canvas().rect().contains(box->geometry())) << intro->id();
  }
}

TEST_F(LayoutTest, ARunningSystemAndItsEditorFit) {
  click(g.CDp[2]);
  click(g.Command2);
  QTest::qWait(300);
  checkMain("running");
  click(g.Command5);
  QTest::qWait(50);
  checkMain("paused");
  // The editor is brought into view: its first and last rows show in the strip.
  QScrollArea& strip = main().strip();
  const QRect seen(QPoint(0, strip.verticalScrollBar()->value()), strip.viewport()->size());
  for (Control* c : {g.La[0], g.TXTOden}) {
    const QWidget* w = session.widget(*c);
    EXPECT_TRUE(seen.contains(QRect(w->mapTo(&main().panel(), QPoint(0, 0)), w->size())))
        << c->id();
  }
}

TEST_F(LayoutTest, TheEndScreenFits) {
  click(g.Command1);
  EndWindowView& end = session.endWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&end));
  const std::string where = qEnvironmentVariable("VELMORA_SCREEN").toStdString() + " at " +
                            std::to_string(end.devicePixelRatioF()) + ", end";
  checkWindow(&end, where);
  saveShot(&end, "end");
}

}  // namespace
}  // namespace velmora::qt

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
