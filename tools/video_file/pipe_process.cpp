#include "tools/video_file/pipe_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>

extern char** environ;

TPipeProcess::~TPipeProcess() { Finish(); }

bool TPipeProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<int>& childFds) {
  // A child that stops early must show up as a failed write, not end this
  // process.
  std::signal(SIGPIPE, SIG_IGN);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  std::vector<int> readEnds;
  bool ok = true;
  for (const int target : childFds) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
      ok = false;
      break;
    }
    readEnds.push_back(ends[0]);
    Pipes.push_back(ends[1]);
    posix_spawn_file_actions_adddup2(&actions, ends[0], target);
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  if (ok) ok = posix_spawn(&Child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  if (!ok) Child = -1;
  posix_spawn_file_actions_destroy(&actions);
  for (const int fd : readEnds) close(fd);
  if (!ok) Finish();
  return ok;
}

bool TPipeProcess::Write(std::size_t input, const void* data, std::size_t size) {
  if (input >= Pipes.size() || Pipes[input] < 0) return false;
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(Pipes[input], bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

void TPipeProcess::Close(std::size_t input) {
  if (input < Pipes.size() && Pipes[input] >= 0) {
    close(Pipes[input]);
    Pipes[input] = -1;
  }
}

int TPipeProcess::Finish() {
  for (std::size_t i = 0; i < Pipes.size(); ++i) Close(i);
  Pipes.clear();
  if (Child < 0) return -1;
  int status = 0;
  pid_t waited;
  do waited = waitpid(Child, &status, 0);
  while (waited < 0 && errno == EINTR);
  Child = -1;
  return waited >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}
