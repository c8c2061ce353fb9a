// The man page (data/velmora.6) lists the command line and the keys that the
// program has: its OPTIONS are the options of `velmora --help`, each described
// first in the same words, and its KEYS are the keys of the help window (F1).
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <map>

#include "qt/command_line.h"
#include "qt/help_window.h"

namespace velmora::qt {
namespace {

// One tagged paragraph (.TP) of a section: its tag line and its text, as the
// reader sees them.
struct Paragraph {
  QString tag;
  QString text;
};

// The arguments of a request line, quotes removed: `.BI \-\-tally " PATH"`.
QStringList requestArguments(const QString& rest) {
  QStringList args;
  static const QRegularExpression argument(R"re("([^"]*)"|(\S+))re");
  for (auto it = argument.globalMatch(rest); it.hasNext();) {
    const auto m = it.next();
    args << (m.capturedLength(1) > 0 || m.captured(0) == "\"\"" ? m.captured(1) : m.captured(2));
  }
  return args;
}

// A line of roff as text: font requests give their arguments (the alternating
// ones without blanks between), escapes their characters.
QString shown(const QString& line) {
  QString text = line;
  if (line.startsWith('.')) {
    const qsizetype blank = line.indexOf(' ');
    const QString request = line.mid(1, blank < 0 ? -1 : blank - 1);
    const QStringList args = requestArguments(blank < 0 ? QString() : line.mid(blank + 1));
    text = args.join(request.size() == 2 ? "" : " ");
  }
  return text.replace("\\-", "-").replace("\\e", "\\");
}

std::map<QString, std::vector<Paragraph>> sections(const QString& page) {
  std::map<QString, std::vector<Paragraph>> out;
  QString section;
  Paragraph* open = nullptr;
  bool tagNext = false;
  for (const QString& line : page.split('\n')) {
    if (line.startsWith(".SH ")) {
      section = line.mid(4).trimmed();
      open = nullptr;
    } else if (line == ".TP") {
      out[section].push_back({});
      open = &out[section].back();
      tagNext = true;
    } else if (open != nullptr && tagNext) {
      open->tag = shown(line);
      tagNext = false;
    } else if (open != nullptr) {
      open->text += (open->text.isEmpty() ? "" : " ") + shown(line);
    }
  }
  return out;
}

class ManPage : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(VELMORA_MAN_PAGE);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << VELMORA_MAN_PAGE;
    page = QString::fromUtf8(file.readAll());
    parts = sections(page);
  }
  QString page;
  std::map<QString, std::vector<Paragraph>> parts;
};

TEST_F(ManPage, ItsOptionsAreTheCommandLine) {
  const std::vector<Paragraph>& listed = parts["OPTIONS"];
  QStringList want;
  const CommandLineArgument file = systemFileArgument();
  want << file.name;
  for (const QCommandLineOption& o : commandLineOptions()) {
    QStringList names;
    for (const QString& n : o.names()) names << (n.size() == 1 ? "-" : "--") + n;
    want << names.join(", ") + (o.valueName().isEmpty() ? "" : " " + o.valueName());
  }
  QStringList got;
  for (const Paragraph& p : listed) got << p.tag;
  EXPECT_EQ(got, want);
  ASSERT_EQ(listed.size(), static_cast<size_t>(want.size()));
  EXPECT_TRUE(listed[0].text.startsWith(file.description)) << listed[0].text.toStdString();
  for (qsizetype i = 0; i < commandLineOptions().size(); ++i) {
    const QString description = commandLineOptions()[i].description();
    EXPECT_TRUE(listed[i + 1].text.startsWith(description))
        << listed[i + 1].tag.toStdString() << ": \"" << listed[i + 1].text.toStdString()
        << "\" does not begin with \"" << description.toStdString() << "\"";
  }
  // The synopsis shows every option and the file.
  const QString synopsis = page.section(".SH SYNOPSIS", 1).section(".SH ", 0, 0);
  for (const QCommandLineOption& o : commandLineOptions()) {
    EXPECT_TRUE(synopsis.contains("\\-\\-" + o.names().last())) << o.names().last().toStdString();
  }
  EXPECT_TRUE(synopsis.contains(file.name));
}

TEST_F(ManPage, ItsKeysAreTheHelpWindowsKeys) {
  QStringList want;
  for (const ShortcutEntry& e : HelpWindow::keys()) want << keyNames(e) + ": " + e.what;
  QStringList got;
  for (const Paragraph& p : parts["KEYS"]) got << p.tag + ": " + p.text;
  EXPECT_EQ(got, want);
  EXPECT_EQ(want.size(), 25);
}

TEST(ManPageReading, RequestsAndEscapesReadAsTheReaderSeesThem) {
  EXPECT_EQ(shown(R"(.BI \-\-tally " PATH")"), "--tally PATH");
  EXPECT_EQ(shown(R"(.BR \-h ", " \-\-help)"), "-h, --help");
  EXPECT_EQ(shown(R"(.B Ctrl+G, F5)"), "Ctrl+G, F5");
  EXPECT_EQ(shown(R"(With \-\-render: run)"), "With --render: run");
}

}  // namespace
}  // namespace velmora::qt
