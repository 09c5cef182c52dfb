#include "tools/console/checked_option.h"

#include <CLI/CLI.hpp>

#include <utility>

CLI::Option* AddCheckedOption(CLI::App& command, const std::string& names, const std::string& valueName,
                              const std::string& description, std::function<std::string(const std::string&)> take) {
  const std::string name = names.substr(names.rfind(',') + 1);
  // Every word given is checked, in order: a later one replaces an earlier.
  const auto check = [name, take = std::move(take)](const CLI::results_t& words) {
    for (const std::string& word : words)
      if (const std::string problem = take(word); !problem.empty()) throw CLI::ValidationError(name + " " + problem);
    return true;
  };
  return command.add_option(names, check, description)
      ->type_name(valueName)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}
