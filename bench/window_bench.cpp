// The real window running preset "5": ticks per second of the simulation timer and
// the process's processor time, each second for 20 s. Needs a display:
//   Xvfb :95 -screen 0 1920x1200x24 &
//   DISPLAY=:95 QT_QPA_PLATFORM=xcb ./build/bench/velmora_window_bench
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "form/player.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"

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
  const QString tally = QDir::temp().filePath("velmora_window_bench.tally");
  QFile::remove(tally);
  velmora::qt::GameSession session(tally.toStdString());
  session.mainWindow().fitScreen();
  session.start();
  velmora::Game& g = session.game();

  long ticks = 0;
  const auto tick = g.Ti->onTimer;
  g.Ti->onTimer = [&ticks, tick] {
    ++ticks;
    tick();
  };
  {
    velmora::qt::ModelCall call;
    velmora::playerClick(*g.CDp[4]);
    velmora::playerClick(*g.Command2);
  }

  constexpr int kBlocks = 20;
  constexpr int kBlockMs = 1000;
  QElapsedTimer clock;
  clock.start();
  long lastTicks = 0;
  double lastCpu = cpuSeconds();
  qint64 lastMs = 0;
  int block = 0;
  std::printf("%8s %10s %8s %8s\n", "seconds", "ticks/s", "cpu %", "bodies");
  QTimer report;
  QObject::connect(&report, &QTimer::timeout, [&] {
    const qint64 ms = clock.elapsed();
    const double cpu = cpuSeconds();
    const double span = static_cast<double>(ms - lastMs) / 1000;
    int live = 0;
    for (int i = 0; i <= g.world.PlanetCount; ++i) live += g.world.PlanetOff[i] == 0;
    std::printf("%8.1f %10.1f %8.1f %8d\n", static_cast<double>(ms) / 1000,
                static_cast<double>(ticks - lastTicks) / span, 100 * (cpu - lastCpu) / span, live);
    std::fflush(stdout);
    lastTicks = ticks;
    lastCpu = cpu;
    lastMs = ms;
    if (++block == kBlocks) app.quit();
  });
  report.start(kBlockMs);
  app.exec();
  std::printf("overall: %.1f ticks/s\n", static_cast<double>(ticks) * 1000 / clock.elapsed());
  QFile::remove(tally);
  return 0;
}
