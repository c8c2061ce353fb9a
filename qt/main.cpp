// velmora: the game in its window, or, with --script, the headless runner, or,
// with --render, one system drawn to a PNG or filmed to a video.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>

#include "platform/system_file.h"
#include "platform/tally_file.h"
#include "qt/command_line.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/system_files.h"
#include "qt/web_page.h"
#include "script/render.h"
#include "script/runner.h"
#include "script/video_export.h"

namespace {

enum class Mode { Window, Script, Render };

// File names are kept as the bytes they came as, whatever the locale: see args().
struct Options {
  Mode mode = Mode::Window;
  std::string script;
  std::string tally;  // empty: the default place
  velmora::RenderRequest render;
  std::string systemFile;  // a saved system the window opens at start
};

// The arguments as Latin-1, which keeps every byte: a file name that is not UTF-8
// (an old disk's "caf\xe9.velmora") comes back whole through bytes(), where
// decoding it as UTF-8 would name another file. The options are all ASCII.
QStringList latin1Args(int argc, char** argv) {
  QStringList list;
  for (int i = 0; i < argc; ++i) list << QString::fromLatin1(argv[i]);
  return list;
}

std::string bytes(const QString& arg) {
  return arg.toLatin1().toStdString();
}

// Text made of the options' ASCII and the arguments' bytes, written as those bytes.
void print(std::FILE* to, const QString& text) {
  std::fputs(text.toLatin1().constData(), to);
}

[[noreturn]] void usageError(const QString& message) {
  print(stderr, "velmora: " + message + "\n");
  std::exit(2);
}

long long number(const QCommandLineParser& parser, const QString& option) {
  bool ok = false;
  const long long v = parser.value(option).toLongLong(&ok);
  if (!ok) usageError("--" + option + " takes a whole number");
  return v;
}

// Parsed before any application object exists, so that --help, --version and a
// script need no display.
Options parseOptions(int argc, char** argv) {
  const QStringList args = latin1Args(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription("Quorrel 3 : Velmora - build a solar system and watch it form.");
  // Our own help and version options: the Qt options that --help-all would list
  // are not taken.
  for (const QCommandLineOption& option : velmora::qt::commandLineOptions()) {
    parser.addOption(option);
  }
  const velmora::qt::CommandLineArgument file = velmora::qt::systemFileArgument();
  parser.addPositionalArgument(file.name, file.description, file.syntax);
  if (!parser.parse(args)) usageError(parser.errorText());
  if (parser.isSet("help")) {
    // No application object yet to name the program in the usage line.
    QString text = parser.helpText();
    text.replace("<executable_name>", QFileInfo(args.first()).fileName());
    print(stdout, text);
    std::exit(0);
  }
  if (parser.isSet("version")) parser.showVersion();
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) usageError("unexpected argument " + files.at(1));
  Options o;
  if (!files.isEmpty()) {
    if (parser.isSet("script") || parser.isSet("render")) {
      usageError("unexpected argument " + files.first());
    }
    o.systemFile = bytes(files.first());
  }
  if (parser.isSet("script") && parser.isSet("render"))
    usageError("--script and --render exclude each other");
  if (parser.isSet("script")) {
    o.mode = Mode::Script;
    o.script = bytes(parser.value("script"));
  }
  const QStringList renderOnly = {"preset", "seed", "spin", "ticks", "open", "every", "fps"};
  if (parser.isSet("render")) {
    o.mode = Mode::Render;
    o.render.path = bytes(parser.value("render"));
    if (parser.isSet("preset")) o.render.preset = static_cast<int>(number(parser, "preset"));
    if (parser.isSet("seed")) o.render.seed = number(parser, "seed");
    o.render.spin = parser.isSet("spin");
    if (parser.isSet("open")) {
      for (const QString needsGo : {"preset", "seed", "spin"}) {
        if (parser.isSet(needsGo)) usageError("--" + needsGo + " excludes --open");
      }
      o.render.open = bytes(parser.value("open"));
      o.render.ticks = 0;  // the system as it was saved
    }
    if (parser.isSet("ticks")) o.render.ticks = number(parser, "ticks");
    const bool picture =
        QString::fromLatin1(o.render.path.c_str()).endsWith(".png", Qt::CaseInsensitive);
    for (const QString videoOnly : {"every", "fps"}) {
      if (picture && parser.isSet(videoOnly)) usageError("--" + videoOnly + " needs a video");
    }
    if (parser.isSet("every")) o.render.every = number(parser, "every");
    // Beyond the range either way stays beyond it, to be refused as such.
    if (parser.isSet("fps")) {
      o.render.fps =
          static_cast<int>(std::clamp(number(parser, "fps"), 0LL, velmora::kMaxVideoFps + 1LL));
    }
  } else {
    for (const QString& option : renderOnly) {
      if (parser.isSet(option)) usageError("--" + option + " needs --render");
    }
  }
  o.tally = bytes(parser.value("tally"));
  return o;
}

std::string tallyPath(const Options& o) {
  return o.tally.empty() ? velmora::defaultTallyPath() : o.tally;
}

int runScript(int argc, char** argv, const Options& o) {
  QCoreApplication app(argc, argv);
  velmora::TallyFile tally(tallyPath(o));
  return velmora::runScriptFile(o.script, tally, std::cout, std::cerr);
}

// A render touches no file but its picture or video: the tally lives in memory.
int runRender(int argc, char** argv, const Options& o) {
  QCoreApplication app(argc, argv);
  velmora::MemoryTallyStorage tally;
  return velmora::render(o.render, tally, std::cerr, std::cerr);
}

int runWindow(int argc, char** argv, const Options& o) {
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  velmora::qt::GameSession session(tallyPath(o));
  session.game().webPageUrl = velmora::qt::webPageUrl(session.game().webPageUrl);
  session.mainWindow().fitScreen();
  session.start();
  if (session.ended()) return 0;
  if (!o.systemFile.empty()) velmora::qt::openSystemNow(session.game(), o.systemFile);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Under a file-size limit (ulimit -f) a write past it would end the game with
  // SIGXFSZ and lose the running system; ignored, the write fails with EFBIG and
  // the save says so.
  std::signal(SIGXFSZ, SIG_IGN);
  QCoreApplication::setApplicationName("velmora");
  QCoreApplication::setOrganizationName("velmora");
  QCoreApplication::setApplicationVersion(VELMORA_VERSION);
  const Options options = parseOptions(argc, argv);
  switch (options.mode) {
    case Mode::Script:
      return runScript(argc, argv, options);
    case Mode::Render:
      return runRender(argc, argv, options);
    case Mode::Window:
      return runWindow(argc, argv, options);
  }
  return 2;
}
