#include "script/headless.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "form/scheduler.h"
#include "platform/player_file.h"

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
  return writePng(QImage(reinterpret_cast<const uchar*>(s.pixels().data()), s.width(), s.height(),
                         s.width() * 4, QImage::Format_RGB32),
                  path);
}

bool writePng(const QImage& image, const std::string& path) {
  // Encoded in memory, then written whole: Qt's image writer does not see a write
  // that fails at the file's last flush (a full disk, a file-size limit).
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return false;
  return !writeWholeFile(path, png.toStdString());
}

}  // namespace velmora
