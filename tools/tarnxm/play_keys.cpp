#include "tools/tarnxm/play_keys.h"

#include <poll.h>
#include <unistd.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t Interrupted = 0;

void OnSignal(int) { Interrupted = 1; }

constexpr char Escape = 0x1b;
// Terminals send a sequence in one piece; a slow link may split it.
constexpr std::chrono::milliseconds EscapeWait(100);

std::vector<TPlayKey> KeyOfByte(char byte) {
  using enum TPlayAction;
  if (byte >= '1' && byte <= '9') return {{ToggleMute, byte - '1'}};
  switch (byte) {
    case ' ': return {{Pause}};
    case 'q':
    case 'Q': return {{Quit}};
    case 'n':
    case 'N': return {{NextFile}};
    case 'p':
    case 'P': return {{PreviousFile}};
    case '<': return {{PreviousSubsong}};
    case '>': return {{NextSubsong}};
    case '0': return {{ToggleMute, 9}};
    case '!': return {{UnmuteAll}};
    case 'h':
    case 'H': return {{Help}};
    default: return {};
  }
}

// ESC [ or ESC O and one of A to D, without parameters.
std::vector<TPlayKey> KeyOfSequence(std::string_view sequence) {
  using enum TPlayAction;
  if (sequence.size() != 3) return {};
  switch (sequence[2]) {
    case 'A': return {{PreviousOrder}};
    case 'B': return {{NextOrder}};
    case 'C': return {{SeekForward}};
    case 'D': return {{SeekBack}};
    default: return {};
  }
}

}  // namespace

const std::vector<std::string> PlayKeyHelp = {
    "Space pause  q/Esc quit  n/p next/previous file  < > previous/next subsong",
    "Left/Right seek -/+5 s  Up/Down -/+1 order",
    "1-9,0 mute channel 1-10  ! unmute all  h help on/off",
};

std::vector<TPlayKey> TKeyDecoder::Feed(std::string_view bytes) {
  Held += bytes;
  std::vector<TPlayKey> keys;
  std::size_t k = 0;
  for (; k < Held.size(); ++k) {
    std::vector<TPlayKey> found;
    if (Held[k] != Escape) {
      found = KeyOfByte(Held[k]);
    } else if (k + 1 == Held.size()) {
      break;
    } else if (Held[k + 1] == '[' || Held[k + 1] == 'O') {
      // A sequence ends with its first byte from '@' to '~' after the
      // introducer.
      std::size_t end = k + 2;
      while (end < Held.size() && !(Held[end] >= '@' && Held[end] <= '~')) ++end;
      if (end == Held.size()) break;
      found = KeyOfSequence(std::string_view(Held).substr(k, end + 1 - k));
      k = end;
    }
    keys.insert(keys.end(), found.begin(), found.end());
  }
  Held.erase(0, k);
  return keys;
}

std::vector<TPlayKey> TKeyDecoder::Flush() {
  const bool alone = Held.size() == 1;
  Held.clear();
  if (alone) return {{TPlayAction::Quit}};
  return {};
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
  const std::chrono::milliseconds wait = Decoder.Holding() ? EscapeWait : timeout;
  const int ready = poll(Fd >= 0 ? &input : nullptr, Fd >= 0 ? 1 : 0, static_cast<int>(wait.count()));
  if (Interrupted) return {{TPlayAction::Quit}};
  if (ready <= 0) return Decoder.Flush();
  char bytes[64];
  const ssize_t count = input.revents & POLLIN ? read(Fd, bytes, sizeof bytes) : 0;
  // At the input's end, or after an error, there are no more keys to wait for.
  if (count <= 0) {
    Fd = -1;
    return Decoder.Flush();
  }
  return Decoder.Feed(std::string_view(bytes, static_cast<std::size_t>(count)));
}
