// velmora: the game in its window, or, with --script, the headless runner.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <memory>

#include "platform/tally_file.h"
#include "qt/game_session.h"
#include "script/runner.h"

namespace {

enum class Mode { Window, Script };

struct Options {
  Mode mode = Mode::Window;
  QString script;
  QString tally;  // empty: the default place
};

// Parsed before any application object exists, so that --help, --version and a
// script need no display.
Options parseOptions(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription("Quorrel 3 : Velmora - build a solar system and watch it form.");
  // Our own help option: the Qt options that --help-all would list are not taken.
  const QCommandLineOption help({"h", "help"}, "Displays help on commandline options.");
  parser.addOption(help);
  parser.addVersionOption();
  const QCommandLineOption script("script", "Play the player actions in FILE without a window.",
                                  "FILE");
  const QCommandLineOption tally("tally", "Keep the best score in the file at PATH.", "PATH");
  parser.addOption(script);
  parser.addOption(tally);
  if (!parser.parse(args)) {
    std::fprintf(stderr, "velmora: %s\n", qPrintable(parser.errorText()));
    std::exit(2);
  }
  if (parser.isSet(help)) {
    // No application object yet to name the program in the usage line.
    QString help = parser.helpText();
    help.replace("<executable_name>", QFileInfo(args.first()).fileName());
    std::fputs(qPrintable(help), stdout);
    std::exit(0);
  }
  if (parser.isSet("version")) parser.showVersion();
  if (!parser.positionalArguments().isEmpty()) {
    std::fprintf(stderr, "velmora: unexpected argument %s\n",
                 qPrintable(parser.positionalArguments().first()));
    std::exit(2);
  }
  Options o;
  if (parser.isSet(script)) {
    o.mode = Mode::Script;
    o.script = parser.value(script);
  }
  o.tally = parser.value(tally);
  return o;
}

std::string tallyPath(const Options& o) {
  return o.tally.isEmpty() ? velmora::defaultTallyPath() : o.tally.toStdString();
}

int runScript(int argc, char** argv, const Options& o) {
  QCoreApplication app(argc, argv);
  velmora::TallyFile tally(tallyPath(o));
  return velmora::runScriptFile(o.script.toStdString(), tally, std::cout, std::cerr);
}

int runWindow(int argc, char** argv, const Options& o) {
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  velmora::qt::GameSession session(tallyPath(o));
  session.start();
  if (session.ended()) return 0;
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName("velmora");
  QCoreApplication::setApplicationVersion(VELMORA_VERSION);
  const Options options = parseOptions(argc, argv);
  switch (options.mode) {
    case Mode::Script:
      return runScript(argc, argv, options);
    case Mode::Window:
      return runWindow(argc, argv, options);
  }
  return 2;
}
