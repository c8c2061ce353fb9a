#include "script/headless.h"

#include <QImage>
#include <QString>

#include "form/scheduler.h"

namespace velmora {

bool ScriptHost::openUrl(const std::string& url) {
  out_ << "open " << url << "\n";
  return true;
}

void ScriptHost::messageBox(const std::string& title, const std::string& text) {
  out_ << "msgbox " << title << " | " << text << "\n";
}

HeadlessGame::HeadlessGame(TallyStorage& tally, std::ostream& out)
    : host_(out), game_(clock_, host_, tally) {
  game_.load();
}

void HeadlessGame::wait(long long ms) {
  advanceTimers(game_.fs7, clock_, ms, [this] { return host_.ended; });
}

bool writePng(const Surface& s, const std::string& path) {
  const QImage image(reinterpret_cast<const uchar*>(s.pixels().data()), s.width(), s.height(),
                     s.width() * 4, QImage::Format_RGB32);
  return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace velmora
