#include "qt/help_window.h"

#include <QDialogButtonBox>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "qt/field_hands_keys.h"
#include "qt/time_view_keys.h"

namespace velmora::qt {

QList<ShortcutEntry> HelpWindow::keys() {
  return shortcutEntries() + timeAndViewKeyEntries() + fieldHandsKeyEntries();
}

QString HelpWindow::text() {
  QString rows;
  for (const ShortcutEntry& e : keys()) {
    rows += QString("<tr><td><b>%1</b></td><td>%2</td></tr>")
                .arg(keyNames(e).toHtmlEscaped(), e.what.toHtmlEscaped());
  }
  return "<h3>Keys</h3><table cellspacing='4'>" + rows +
         "</table><p>A key does what a click on its button does, and only while the button is "
         "shown. Return in a field accepts it, like Tab.</p>"
         "<h3>The panel</h3>"
         "<p>Pick a preset (1 to 6) or set the fields, then press <b>Go</b>. Every body pulls on "
         "every other one with g = m / r<sup>x</sup>; its trail draws its orbit.</p>"
         "<p><b>Spin</b>: the planets start as the debris of a nova up and to the right of the "
         "sun, instead of scattered around it.</p>"
         "<p><b>Bind</b>: bodies that come within the bonding range merge into one; the heavier "
         "one keeps its place. This is how planets grow and the sun swallows what falls in.</p>"
         "<p><b>Border Math</b>: what a body does when it leaves the field: wrap around (Slomo "
         "at half speed), bounce off a wall (Comet at half speed), bounce to a random place "
         "(Chaos), be relaunched (4-dim) or die.</p>"
         "<p><b>Score</b>: grows with the number of live bodies and with the time since the "
         "last disturbance (a border event or a merge). The best score ever is kept between "
         "runs.</p>"
         "<p><b>Pause</b> stops the system so that you can step through the bodies and edit "
         "one; press it again to go on.</p>"
         "<h3>Saved systems</h3>"
         "<p><b>Save system...</b> keeps the system in a <i>.velmora</i> file (the dialog starts "
         "in "
         "your documents folder, then where you saved last). <b>Open system...</b>, dropping a "
         ".velmora file onto the window, <tt>velmora FILE.velmora</tt> on the command line or "
         "opening the file from your file manager puts the system where it was saved, paused: "
         "press <b>Pause</b> to go on exactly as it would have. The clock starts afresh, so a "
         "saved file carries no score. <tt>velmora --render OUT.png --open FILE</tt> draws a "
         "saved system without a window; <tt>OUT.mp4</tt>, <tt>OUT.webm</tt> or <tt>OUT.apng</tt> "
         "films its run instead (<tt>--ticks T --every K --fps F</tt>: a frame every K ticks).</p>";
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Velmora help");
  // A browser, not a label: the text scrolls when a large font makes it long.
  auto* view = new QTextBrowser(this);
  view->setObjectName("helpText");
  view->setHtml(text());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view);
  layout->addWidget(buttons);
  const QSize want(560, 620);
  resize(screen() ? want.boundedTo(screen()->availableGeometry().size() * 9 / 10) : want);
}

}  // namespace velmora::qt
