// What a saved system's name leads to: only a regular file is read, at once, and
// anything else (a pipe, a socket, a device, a loop of symbolic links) is refused
// without waiting; a name that is not UTF-8 opens; a message shows a long name cut.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QString>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "form/player.h"
#include "platform/file_name.h"
#include "platform/system_file.h"
#include "platform/tally_file.h"
#include "script/headless.h"
#include "script/runner.h"
#include "script/world_items.h"
#include "state/game.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class SystemPath : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("velmora-path-test-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // A running system of preset 2, saved at `path`.
  static void saveRunning(const std::string& path) {
    MemoryTallyStorage tally;
    std::ostringstream messages;
    HeadlessGame h(tally, messages);
    playerClick(*h.game().CDp[1]);
    playerClick(*h.game().Command2);
    h.wait(900);
    EXPECT_EQ(saveSystemFile(h.game(), path), std::nullopt);
  }

  // The hash of a fresh game that opened `path`.
  static uint64_t openedHash(const std::string& path) {
    MemoryTallyStorage tally;
    std::ostringstream messages;
    HeadlessGame h(tally, messages);
    EXPECT_EQ(openSystemFile(h.game(), path), std::nullopt);
    return worldHash(h.game().world);
  }

  std::string refusal(const std::string& path) {
    MemoryTallyStorage tally;
    std::ostringstream messages;
    HeadlessGame h(tally, messages);
    return openSystemFile(h.game(), path).value_or("opened");
  }

  fs::path dir;
};

// Runs `read` on the pipe. Should it wait for a writer, one comes after a while to
// let it go on, and the answer is false: the test fails rather than hangs.
template <typename Read>
bool readsWithoutAWriter(const fs::path& fifo, Read read) {
  std::mutex m;
  std::condition_variable finished;
  bool done = false;
  bool rescued = false;
  std::thread watchdog([&] {
    std::unique_lock lock(m);
    if (finished.wait_for(lock, std::chrono::seconds(10), [&] { return done; })) return;
    rescued = true;
    while (!done) {
      lock.unlock();
      // A reader waiting in open() counts: this open succeeds and wakes it.
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      lock.lock();
    }
  });
  read();
  {
    std::lock_guard lock(m);
    done = true;
  }
  finished.notify_one();
  watchdog.join();
  return !rescued;
}

TEST_F(SystemPath, APipeIsRefusedAtOnce) {
  const fs::path fifo = dir / "pipe.velmora";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string message;
  EXPECT_TRUE(readsWithoutAWriter(fifo, [&] { message = refusal(fifo); }));
  EXPECT_EQ(message, "Cannot open \"" + fifo.string() + "\": it is a pipe, not a file.");

  // The runner's open says so and plays on.
  MemoryTallyStorage tally;
  std::ostringstream out;
  std::ostringstream err;
  int status = -1;
  EXPECT_TRUE(readsWithoutAWriter(fifo, [&] {
    status = runScript("open " + fifo.string() + "\nprint Ti.Enabled\n", tally, out, err);
  }));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.str(), "msgbox Open system | " + message + "\nTi.Enabled=False\n");

  // And the tally in a pipe's place reads as no file.
  std::optional<std::string> tallied = "unread";
  EXPECT_TRUE(readsWithoutAWriter(fifo, [&] { tallied = TallyFile(fifo).read(); }));
  EXPECT_EQ(tallied, std::nullopt);
}

TEST_F(SystemPath, DevicesAndSocketsAreRefused) {
  for (const char* device : {"/dev/null", "/dev/zero"}) {
    EXPECT_EQ(refusal(device),
              std::string("Cannot open \"") + device + "\": it is a device, not a file.");
  }
  const fs::path socketPath = dir / "socket.velmora";
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.string().size(), sizeof address.sun_path);
  socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(refusal(socketPath),
            "Cannot open \"" + socketPath.string() + "\": it is a socket, not a file.");
  ::close(listener);
}

TEST_F(SystemPath, ALoopOfSymbolicLinksIsALoop) {
  const fs::path a = dir / "a.velmora";
  const fs::path b = dir / "b.velmora";
  fs::create_symlink(b, a);
  fs::create_symlink(a, b);
  EXPECT_EQ(refusal(a), "Cannot open \"" + a.string() + "\": it is a loop of symbolic links.");

  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame h(tally, messages);
  playerClick(*h.game().Command2);
  EXPECT_EQ(saveSystemFile(h.game(), a.string()),
            "Cannot save \"" + a.string() + "\": it is a loop of symbolic links.");
  EXPECT_TRUE(fs::is_symlink(a));
  EXPECT_TRUE(fs::is_symlink(b));
}

// Latin-1 "café": bytes that are no UTF-8, which Qt alone would read as another name.
TEST_F(SystemPath, ANameThatIsNotUtf8Opens) {
  const std::string plain = (dir / "plain.velmora").string();
  const std::string latin1 = (dir / "caf\xe9.velmora").string();
  saveRunning(plain);
  fs::copy_file(plain, latin1);
  const uint64_t opened = openedHash(plain);

  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame h(tally, messages);
  EXPECT_EQ(openSystemFile(h.game(), latin1), std::nullopt);
  EXPECT_EQ(worldHash(h.game().world), opened);

  // Through the runner too.
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runScript("open " + latin1 + "\nhash\n", tally, out, err), 0);
  char hash[32];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(opened));
  EXPECT_EQ(out.str(), std::string("hash=") + hash + "\n");

  // Qt cannot spell it for a save file: refused, rather than written under
  // another name.
  fs::remove(latin1);
  EXPECT_EQ(saveSystemFile(h.game(), latin1),
            "Cannot save \"" + (dir / "caf\xEF\xBF\xBD.velmora").string() +
                "\": its name is not UTF-8 text; choose another name.");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(SystemPath, AMessageCutsALongNameInTheMiddleAndKeepsItsEnd) {
  const std::string longName = (dir / (std::string(150, 'n') + "-end.velmora")).string();
  const std::string message = refusal(longName);
  const std::string prefix = "Cannot open \"";
  const std::string suffix = "\": there is no such file.";
  ASSERT_EQ(message.rfind(prefix, 0), 0u) << message;
  ASSERT_GT(message.size(), prefix.size() + suffix.size());
  ASSERT_EQ(message.substr(message.size() - suffix.size()), suffix) << message;
  const QString shown = QString::fromStdString(
      message.substr(prefix.size(), message.size() - prefix.size() - suffix.size()));
  const QString whole = QString::fromStdString(longName);
  EXPECT_EQ(shown.size(), kShownNameLength);
  EXPECT_EQ(shown.left(kShownNameHead), whole.left(kShownNameHead));
  EXPECT_EQ(shown.at(kShownNameHead), QChar(0x2026));
  EXPECT_EQ(shown.mid(kShownNameHead + 1), whole.right(kShownNameLength - kShownNameHead - 1));
  EXPECT_TRUE(shown.endsWith("nnnn-end.velmora"));

  // A name of the length itself is shown whole; a line break never splits a message.
  const std::string fits(kShownNameLength, 'f');
  EXPECT_EQ(shownFileName(fits), fits);
  EXPECT_EQ(shownFileName("two\nlines.velmora"), "two\xEF\xBF\xBDlines.velmora");
}

}  // namespace
}  // namespace velmora
