// The command line of velmora, written once: `velmora --help` lists it and the
// man page's OPTIONS (data/velmora.6) are checked against it.
#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

namespace velmora::qt {

// The options, in the order --help lists them.
inline QList<QCommandLineOption> commandLineOptions() {
  return {
      {{"h", "help"}, "Show the options and exit."},
      {{"v", "version"}, "Show the version and exit."},
      {"script", "Play the player actions in FILE without a window.", "FILE"},
      {"tally", "Keep the best score in the file at PATH.", "PATH"},
      {"render",
       "Build a system without a window and write the field to OUT: a picture (.png) or a video "
       "of the run (.mp4, .webm, .apng).",
       "OUT"},
      {"preset", "With --render: start from preset N (1 to 6).", "N"},
      {"seed", "With --render: freeze the seed at S.", "S"},
      {"spin", "With --render: check the spin box."},
      {"ticks", "With --render: run T simulation ticks (default 2000; 0 with --open).", "T"},
      {"open", "With --render: open the saved system FILE and resume it instead of Go.", "FILE"},
      {"every", "With a video: a frame every K simulation ticks (default 1).", "K"},
      {"fps", "With a video: F frames a second (1 to 999; default 60).", "F"},
  };
}

// The file the window opens, the one argument that is not an option.
struct CommandLineArgument {
  QString name;
  QString description;
  QString syntax;
};

inline CommandLineArgument systemFileArgument() {
  return {"FILE.velmora", "A saved system for the window to open.", "[FILE.velmora]"};
}

}  // namespace velmora::qt
