#include "tools/tarnxm/play_keys.h"

#include <poll.h>
#include <unistd.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t Interrupted = 0;

void OnSignal(int) { Interrupted = 1; }

constexpr char Escape = 0x1b;

}  // namespace

std::vector<TPlayKey> KeysFromInput(std::string_view bytes) {
  std::vector<TPlayKey> keys;
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    const char byte = bytes[k];
    if (byte == ' ') {
      keys.push_back(TPlayKey::Pause);
    } else if (byte == 'q' || byte == 'Q') {
      keys.push_back(TPlayKey::Quit);
    } else if (byte == Escape) {
      if (k + 1 == bytes.size()) {
        keys.push_back(TPlayKey::Quit);
      } else if (bytes[k + 1] == '[' || bytes[k + 1] == 'O') {
        // A sequence ends with its first byte from '@' to '~' after the
        // introducer.
        for (k += 2; k < bytes.size() && !(bytes[k] >= '@' && bytes[k] <= '~'); ++k) {
        }
      }
    }
  }
  return keys;
}

TKeyReader::TKeyReader(int fd) : Fd(fd) {
  Interrupted = 0;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &SavedInterrupt);
  sigaction(SIGTERM, &action, &SavedTerminate);
  if (Fd >= 0 && isatty(Fd) && tcgetattr(Fd, &Saved) == 0) {
    termios raw = Saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    Raw = tcsetattr(Fd, TCSANOW, &raw) == 0;
  }
}

TKeyReader::~TKeyReader() {
  if (Raw) tcsetattr(Fd, TCSANOW, &Saved);
  sigaction(SIGINT, &SavedInterrupt, nullptr);
  sigaction(SIGTERM, &SavedTerminate, nullptr);
}

std::vector<TPlayKey> TKeyReader::Wait(std::chrono::milliseconds timeout) {
  pollfd input{Fd, POLLIN, 0};
  const int ready = poll(Fd >= 0 ? &input : nullptr, Fd >= 0 ? 1 : 0, static_cast<int>(timeout.count()));
  if (Interrupted) return {TPlayKey::Quit};
  if (ready <= 0) return {};
  char bytes[64];
  const ssize_t count = input.revents & POLLIN ? read(Fd, bytes, sizeof bytes) : 0;
  // At the input's end, or after an error, there are no more keys to wait for.
  if (count <= 0) {
    Fd = -1;
    return {};
  }
  return KeysFromInput(std::string_view(bytes, static_cast<std::size_t>(count)));
}
