// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start time of a windowed program: starts it and waits, on X events rather than by polling,
// for its top-level window whose title contains TITLE to be mapped.
//
//   wait_mapped [--timeout MS] TITLE PROGRAM [ARGS...]
//
// Prints "<milliseconds from start to map> <pid>" as soon as the window is mapped, then stays
// the program's parent until it ends (the caller measures it and ends it by its pid) and exits
// 0. Exits 1, after ending the program, when no such window was mapped within the timeout
// (default 10000 ms).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double nowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

std::string windowTitle(Display* display, Window window) {
  std::string title;
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  if (title.empty()) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
      title = name;
      XFree(name);
    }
  }
  return title;
}

// Errors about windows that vanished between an event and a query are expected.
int ignoreErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  int timeoutMs = 10000;
  if (arg + 1 < argc && std::strcmp(argv[arg], "--timeout") == 0) {
    timeoutMs = std::atoi(argv[arg + 1]);
    arg += 2;
  }
  if (argc - arg < 2) {
    std::fprintf(stderr, "usage: wait_mapped [--timeout MS] TITLE PROGRAM [ARGS...]\n");
    return 2;
  }
  const std::string wanted = argv[arg];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "wait_mapped: no X display\n");
    return 2;
  }
  XSetErrorHandler(ignoreErrors);
  const Window root = DefaultRootWindow(display);
  // Every window created under the root is followed for its own map, so a window manager's
  // frame around it makes no difference.
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const double start = nowMs();
  const pid_t pid = fork();
  if (pid < 0) return 2;
  if (pid == 0) {
    execvp(argv[arg + 1], argv + arg + 1);
    std::perror("wait_mapped: exec");
    _exit(127);
  }

  const int fd = ConnectionNumber(display);
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
        XSelectInput(display, event.xcreatewindow.window, StructureNotifyMask);
      } else if (event.type == MapNotify) {
        const std::string title = windowTitle(display, event.xmap.window);
        if (title.find(wanted) != std::string::npos) {
          std::printf("%.1f %d\n", nowMs() - start, static_cast<int>(pid));
          std::fflush(stdout);
          XCloseDisplay(display);
          int status = 0;
          while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
          }
          return 0;
        }
      }
    }
    const double left = start + timeoutMs - nowMs();
    int status = 0;
    if (left <= 0 || waitpid(pid, &status, WNOHANG) == pid) break;
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, static_cast<int>(left < 50 ? left + 1 : 50));
  }
  std::fprintf(stderr, "wait_mapped: no window titled \"%s\" was mapped\n", wanted.c_str());
  kill(pid, SIGTERM);
  XCloseDisplay(display);
  return 1;
}
