// The real window running preset "5": ticks per second of the simulation timer and
// the process's processor time, each second for 20 s. Needs a display:
//   Xvfb :95 -screen 0 1920x1200x24 &
//   DISPLAY=:95 QT_QPA_PLATFORM=xcb ./build/bench/velmora_window_bench
// --speed N runs N ticks a period (as the speed keys do: 1/8 .. 8); --crowd keeps
// the 999 bodies of preset 5 alive: exponent 2 (or --exponent X), Bind off, the
// Wall border.
#include <sys/resource.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "form/player.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "sim/border.h"
#include "state/time_speed.h"

namespace {

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCommandLineParser options;
  options.addHelpOption();
  options.addOption({"speed", "Simulation ticks a period: 1/8, 1/4, 1/2, 1, 2, 4 or 8.", "N", "1"});
  options.addOption({"crowd", "999 bodies at exponent 2, Bind off, Wall."});
  options.addOption({"exponent", "The crowd's exponent (the ^G field), 0.4 to 2.6.", "X", "2"});
  options.process(app);
  const auto level = velmora::TimeSpeed::parse(options.value("speed").toStdString());
  if (!level) {
    std::fprintf(stderr, "--speed: 1/8, 1/4, 1/2, 1, 2, 4 or 8\n");
    return 2;
  }
  const QString tally = QDir::temp().filePath("velmora_window_bench.tally");
  QFile::remove(tally);
  velmora::qt::GameSession session(tally.toStdString());
  session.mainWindow().fitScreen();
  session.start();
  velmora::Game& g = session.game();

  // Every period holds the same ticks while the timer stays on; a slow speed
  // counts as the fraction of a tick.
  double ticks = 0;
  const double ticksPerPeriod = *level >= 0 ? (1 << *level) : 1.0 / (1 << -*level);
  const auto tick = g.Ti->onTimer;
  g.Ti->onTimer = [&ticks, ticksPerPeriod, tick] {
    ticks += ticksPerPeriod;
    tick();
  };
  {
    velmora::qt::ModelCall call;
    g.speed.setLevel(*level);
    velmora::playerClick(*g.CDp[velmora::kPresetSunNova]);  // 999 bodies
    if (options.isSet("crowd")) {
      velmora::playerType(*g.TXg[velmora::kTxgExponent], options.value("exponent").toStdString());
      velmora::playerLeave(*g.TXg[velmora::kTxgExponent]);
      if (g.Chbi->value() != 0) velmora::playerClick(*g.Chbi);
      velmora::playerClick(*g.Och[velmora::kWall]);
    }
    velmora::playerClick(*g.Command2);
  }

  constexpr int kBlocks = 20;
  constexpr int kBlockMs = 1000;
  QElapsedTimer clock;
  clock.start();
  double lastTicks = 0;
  double lastCpu = cpuSeconds();
  qint64 lastMs = 0;
  int block = 0;
  std::printf("%8s %10s %8s %8s  %s\n", "seconds", "ticks/s", "cpu %", "bodies", "speed");
  QTimer report;
  QObject::connect(&report, &QTimer::timeout, [&] {
    const qint64 ms = clock.elapsed();
    const double cpu = cpuSeconds();
    const double span = static_cast<double>(ms - lastMs) / 1000;
    int live = 0;
    for (int i = 0; i <= g.world.PlanetCount; ++i) live += g.world.PlanetOff[i] == 0;
    std::printf("%8.1f %10.1f %8.1f %8d  %s\n", static_cast<double>(ms) / 1000,
                (ticks - lastTicks) / span, 100 * (cpu - lastCpu) / span, live,
                g.speed.caption().c_str());
    std::fflush(stdout);
    lastTicks = ticks;
    lastCpu = cpu;
    lastMs = ms;
    if (++block == kBlocks) app.quit();
  });
  report.start(kBlockMs);
  app.exec();
  std::printf("overall: %.1f ticks/s\n", ticks * 1000 / static_cast<double>(clock.elapsed()));
  QFile::remove(tally);
  return 0;
}
