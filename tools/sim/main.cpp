// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vqx16-sim: plays an ORVEX/ALMEX multiplexer on a pseudo-terminal or a real serial device.
// It reads the panel's commands from the line, keeps a device state and answers with status
// frames: one at start and whenever the program (re)opens the line, one after each command,
// and one every second (or at --rate). Plain POSIX; the protocol lives in the core library.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "panel/command_parser.h"
#include "sim/simulated_device.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kUsage =
    "Usage: vqx16-sim [options]\n"
    "Plays an ORVEX/ALMEX video multiplexer on a serial line for VQX16.\n"
    "\n"
    "Without --device it creates a pseudo-terminal and prints its path on standard output.\n"
    "\n"
    "  --link PATH    also make a symbolic link PATH to the line (removed at exit)\n"
    "  --device PATH  serve a real serial device instead (9600 baud, 8N1, raw)\n"
    "  --rate HZ      periodic status frames per second (default 1, up to 1000)\n"
    "  --beep         set the beep bit in the next frame (also on signal SIGUSR1)\n"
    "  --noise        send 1 to 8 random bytes (0 to 127) between frames\n"
    "  --log          print each command understood, with its meaning, on standard error\n"
    "  --help         show this text\n";

struct Options {
  std::optional<std::string> link;
  std::optional<std::string> device;
  double rate = 1.0;
  bool beep = false;
  bool noise = false;
  bool log = false;
};

int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int sig) {
  const int saved = errno;
  const char byte = sig == SIGUSR1 ? 'b' : 'q';
  [[maybe_unused]] const auto n = write(signalPipe[1], &byte, 1);
  errno = saved;
}

bool installSignals() {
  if (pipe(signalPipe) != 0) return false;
  for (int fd : signalPipe) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGUSR1})
    if (sigaction(sig, &sa, nullptr) != 0) return false;
  signal(SIGPIPE, SIG_IGN);
  return true;
}

void fail(const std::string& what) {
  std::fprintf(stderr, "vqx16-sim: %s: %s\n", what.c_str(), std::strerror(errno));
}

// Parses the command line; returns an exit code when the program should stop at once.
std::optional<int> parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--beep") {
      options.beep = true;
    } else if (arg == "--noise") {
      options.noise = true;
    } else if (arg == "--log") {
      options.log = true;
    } else if (arg == "--link" || arg == "--device" || arg == "--rate") {
      const char* v = value();
      if (!v || !*v) {
        std::fprintf(stderr, "vqx16-sim: %s needs a value\n%s", argv[i], kUsage);
        return 2;
      }
      if (arg == "--link") options.link = v;
      if (arg == "--device") options.device = v;
      if (arg == "--rate") {
        char* end = nullptr;
        options.rate = std::strtod(v, &end);
        if (*end || !(options.rate >= 0.1 && options.rate <= 1000)) {
          std::fprintf(stderr, "vqx16-sim: --rate takes 0.1 to 1000 frames per second\n");
          return 2;
        }
      }
    } else {
      std::fprintf(stderr, "vqx16-sim: unknown option %s\n%s", argv[i], kUsage);
      return 2;
    }
  }
  return std::nullopt;
}

// The line the simulator serves, and whether the program holds it open.
struct Line {
  int fd = -1;
  bool pty = false;
  std::string path;
};

bool openPty(Line& line) {
  int master = -1, slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
    fail("cannot create a pseudo-terminal");
    return false;
  }
  termios tio{};
  if (tcgetattr(slave, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(slave, TCSANOW, &tio);
  }
  // The slave side is the program's: close ours, so the master sees when the program has the
  // line open (no hang-up) and when it has closed it again (hang-up).
  close(slave);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  fcntl(master, F_SETFD, FD_CLOEXEC);
  line = {master, true, name};
  return true;
}

bool openDevice(Line& line, const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    fail("cannot open " + path);
    return false;
  }
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) {
    fail(path + " is not a serial device");
    close(fd);
    return false;
  }
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CSIZE);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
#ifdef CRTSCTS
  tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    fail("cannot set up " + path);
    close(fd);
    return false;
  }
  line = {fd, false, path};
  return true;
}

// Makes the symbolic link, replacing a stale link but never another kind of file.
bool makeLink(const std::string& link, const std::string& target) {
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      std::fprintf(stderr, "vqx16-sim: %s exists and is not a symbolic link\n", link.c_str());
      return false;
    }
    if (unlink(link.c_str()) != 0) {
      fail("cannot replace " + link);
      return false;
    }
  }
  if (symlink(target.c_str(), link.c_str()) != 0) {
    fail("cannot make the link " + link);
    return false;
  }
  return true;
}

void removeLink(const std::string& link, const std::string& target) {
  char buf[4096];
  const ssize_t n = readlink(link.c_str(), buf, sizeof buf - 1);
  if (n >= 0 && std::string_view(buf, static_cast<std::size_t>(n)) == target) unlink(link.c_str());
}

class Simulator {
 public:
  Simulator(const Options& options, Line line)
      : options_(options), line_(std::move(line)), rng_(std::random_device{}()) {}

  int run() {
    if (options_.beep) device_.requestBeep();
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / options_.rate));
    auto now = Clock::now();
    auto nextFrame = now + period;
    auto nextTick = now + 1s;
    auto nextNoise = now + period / 2;
    bool connected = false;

    for (;;) {
      // Is the program on the other end? A pty master reports a hang-up while nobody holds
      // the slave open; then only wait, do not poll the line (it would wake at once).
      const bool nowConnected = !line_.pty || !hungUp();
      if (nowConnected && !connected) {
        log("line opened");
        sendFrame();
        nextFrame = Clock::now() + period;
      } else if (!nowConnected && connected) {
        log("line closed; waiting for it to be opened again");
      }
      connected = nowConnected;

      now = Clock::now();
      auto due = std::min(nextFrame, nextTick);
      if (options_.noise) due = std::min(due, nextNoise);
      int timeout =
          static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(due - now).count());
      timeout = connected ? std::clamp(timeout, 0, 1000) : 200;

      pollfd fds[2] = {{signalPipe[0], POLLIN, 0}, {line_.fd, POLLIN, 0}};
      const int n = poll(fds, connected ? 2 : 1, timeout);
      if (n < 0 && errno != EINTR) {
        fail("poll");
        return 1;
      }
      if (n > 0 && (fds[0].revents & POLLIN)) {
        char buf[16];
        const ssize_t got = read(signalPipe[0], buf, sizeof buf);
        for (ssize_t i = 0; i < got; ++i) {
          if (buf[i] == 'q') return 0;
          device_.requestBeep();
          sendFrame();
        }
      }
      if (connected && n > 0 && (fds[1].revents & (POLLIN | POLLERR | POLLHUP))) readCommands();

      now = Clock::now();
      if (now >= nextTick) {
        if (connected) device_.tick();
        nextTick += 1s;
        if (nextTick < now) nextTick = now + 1s;
      }
      if (now >= nextFrame) {
        if (connected) sendFrame();
        nextFrame += period;
        if (nextFrame < now) nextFrame = now + period;
        nextNoise = now + period / 2;
      }
      if (options_.noise && now >= nextNoise) {
        if (connected) sendNoise();
        nextNoise = nextFrame + period / 2;
      }
    }
  }

 private:
  bool hungUp() const {
    pollfd p{line_.fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLHUP);
  }

  void readCommands() {
    char buf[512];
    const ssize_t n = read(line_.fd, buf, sizeof buf);
    if (n <= 0) {
      // EIO: the program closed the line; the hang-up check above notices it next round.
      // A real device that fails gets a short pause instead of a busy loop.
      if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) fail("read");
      if (!line_.pty && n < 0 && errno != EAGAIN && errno != EINTR) usleep(200 * 1000);
      return;
    }
    for (const auto& command : parser_.feed(std::string_view(buf, static_cast<std::size_t>(n)))) {
      const std::string effect = device_.apply(command);
      if (options_.log)
        std::fprintf(stderr, "vqx16-sim: %-14s %s: %s\n", vqx::commandText(command).c_str(),
                     vqx::describeCommand(command).c_str(), effect.c_str());
      sendFrame();
    }
  }

  void sendFrame() {
    const auto frame = device_.takeFrame();
    writeAll(reinterpret_cast<const char*>(frame.data()), frame.size());
  }

  void sendNoise() {
    char noise[8];
    const std::size_t count = 1 + rng_() % 8;
    for (std::size_t i = 0; i < count; ++i) noise[i] = static_cast<char>(rng_() % 128);
    writeAll(noise, count);
  }

  // Writes what fits; bytes that find the line's buffer full (nobody reading) are dropped,
  // like a device that keeps talking to a cable nobody listens on.
  void writeAll(const char* data, std::size_t size) {
    while (size > 0) {
      const ssize_t n = write(line_.fd, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      data += n;
      size -= static_cast<std::size_t>(n);
    }
  }

  void log(const char* what) {
    if (options_.log) std::fprintf(stderr, "vqx16-sim: %s\n", what);
  }

  Options options_;
  Line line_;
  std::mt19937 rng_;
  vqx::CommandParser parser_;
  vqx::sim::SimulatedDevice device_;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const auto code = parseOptions(argc, argv, options)) return *code;
  if (!installSignals()) {
    fail("cannot install signal handlers");
    return 1;
  }

  Line line;
  if (!(options.device ? openDevice(line, *options.device) : openPty(line))) return 1;
  if (options.link && !makeLink(*options.link, line.path)) return 1;

  std::printf("%s\n", line.path.c_str());
  std::fflush(stdout);

  const int code = Simulator(options, line).run();

  if (options.link) removeLink(*options.link, line.path);
  close(line.fd);
  return code;
}
