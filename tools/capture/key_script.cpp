#include "tools/capture/key_script.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "platform/win_types.h"
#include "shell/shell_state.h"

namespace {

constexpr long long LongestTime = 2000000000;

struct TKeyName {
  const char* Name;
  std::uint32_t Key;
};
// Escape is left out: it would end the intro.
constexpr TKeyName KeyNames[] = {
    {"space", platform::VK_SPACE}, {"up", platform::VK_UP}, {"down", platform::VK_DOWN}, {"f5", platform::VK_F5}};

bool ParseMilliseconds(const std::string& text, std::int32_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 10) return false;
  const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (parsed > LongestTime) return false;
  value = static_cast<std::int32_t>(parsed);
  return true;
}

}  // namespace

TKeyScript::TKeyScript(std::vector<TKeyPress> presses)
    : Presses_(std::move(presses)), Phases(Presses_.size(), TPhase::Waiting) {
  std::stable_sort(Presses_.begin(), Presses_.end(),
                   [](const TKeyPress& a, const TKeyPress& b) { return a.Time < b.Time; });
}

bool TKeyScript::Parse(const std::string& text, TKeyScript& script, std::string& error) {
  std::vector<TKeyPress> presses;
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    error = "bad key press '" + item + "' (TIME:KEY or TIME:KEY-hold-MS; keys space, up, down, f5)";
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos) return false;
    TKeyPress press;
    if (!ParseMilliseconds(item.substr(0, colon), press.Time)) return false;
    std::string name = item.substr(colon + 1);
    const std::size_t hold = name.find("-hold-");
    if (hold != std::string::npos) {
      if (!ParseMilliseconds(name.substr(hold + 6), press.Hold) || press.Hold == 0) return false;
      name.resize(hold);
    }
    const auto* known =
        std::find_if(std::begin(KeyNames), std::end(KeyNames), [&](const TKeyName& key) { return name == key.Name; });
    if (known == std::end(KeyNames)) return false;
    press.Key = known->Key;
    presses.push_back(press);
  }
  error.clear();
  script = TKeyScript(std::move(presses));
  return true;
}

void TKeyScript::Apply(std::int32_t t) {
  for (std::size_t i = 0; i < Presses_.size(); ++i) {
    const TKeyPress& press = Presses_[i];
    // A press without a hold was down for exactly the frame before this one.
    if (Phases[i] == TPhase::Down && (press.Hold == 0 || std::int64_t{t} >= std::int64_t{press.Time} + press.Hold)) {
      Keys[press.Key] = false;
      Phases[i] = TPhase::Done;
    }
  }
  for (std::size_t i = 0; i < Presses_.size(); ++i) {
    if (Phases[i] == TPhase::Waiting && Presses_[i].Time <= t) {
      Keys[Presses_[i].Key] = true;
      Phases[i] = TPhase::Down;
    }
  }
}
