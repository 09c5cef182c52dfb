#pragma once
// Key presses scripted for a capture ("30000:space,40000:down-hold-2000"),
// applied to the intro's key state as the window procedure would have set it.
#include <cstdint>
#include <string>
#include <vector>

struct TKeyPress {
  std::int32_t Time = 0;  // scene time of the key-down, milliseconds
  std::uint32_t Key = 0;  // virtual-key code
  std::int32_t Hold = 0;  // milliseconds held; 0 releases it at the next frame
};

class TKeyScript {
 public:
  TKeyScript() = default;
  explicit TKeyScript(std::vector<TKeyPress> presses);

  // Reads a comma-separated list of TIME:KEY or TIME:KEY-hold-MS with the
  // keys space, up, down and f5. Empty text is an empty script.
  static bool Parse(const std::string& text, TKeyScript& script, std::string& error);

  // Before the frame drawn at scene time t: first the releases that are due,
  // then the presses whose time has come.
  void Apply(std::int32_t t);

  const std::vector<TKeyPress>& Presses() const { return Presses_; }

 private:
  enum class TPhase : std::uint8_t { Waiting, Down, Done };
  std::vector<TKeyPress> Presses_;
  std::vector<TPhase> Phases;
};
