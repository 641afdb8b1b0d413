// A private X server (Xvfb) for tests and benchmarks of the SDL2 backend: it
// picks a free display number itself (-displayfd), so runs side by side never
// collide, and sets DISPLAY for its lifetime.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "scoped_env.h"

extern char** environ;

namespace orvane::testing {

class XvfbServer {
 public:
  // Whether an Xvfb binary is on the PATH.
  static bool installed() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
      std::size_t end = dirs.find(':', start);
      if (end == std::string::npos) end = dirs.size();
      std::string candidate = dirs.substr(start, end - start) + "/Xvfb";
      if (::access(candidate.c_str(), X_OK) == 0) return true;
      start = end + 1;
    }
    return false;
  }

  // Starts the server; ready() tells whether it came up.
  explicit XvfbServer(const char* screen = "1280x1024x24") {
    int fds[2];
    if (::pipe(fds) != 0) return;
    std::string fd_text = std::to_string(fds[1]);
    std::string geometry = screen;
    const char* argv[] = {"Xvfb", "-displayfd", fd_text.c_str(), "-screen", "0", geometry.c_str(),
                          "-nolisten", "tcp", "-noreset", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    int status = ::posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (status != 0) {
      pid_ = -1;
      ::close(fds[0]);
      return;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (::poll(&p, 1, 15000) > 0) {
      char c;
      if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    ::close(fds[0]);
    if (number.empty()) return;
    display_.emplace("DISPLAY", ":" + number);
    wayland_.emplace("WAYLAND_DISPLAY", std::nullopt);
    driver_.emplace("SDL_VIDEODRIVER", "x11");
  }

  ~XvfbServer() {
    driver_.reset();
    wayland_.reset();
    display_.reset();
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
  }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool ready() const { return display_.has_value(); }

 private:
  pid_t pid_ = -1;
  std::optional<ScopedEnv> display_, wayland_, driver_;
};

}  // namespace orvane::testing
