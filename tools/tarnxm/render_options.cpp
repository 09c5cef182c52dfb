#include "tools/tarnxm/render_options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <set>

#include "tools/tarnxm/song_length.h"

namespace {

constexpr std::int32_t MostJobs = 256;

// The option at args[k] with its value (advancing k); false when args[k]
// is not one of render's own.
bool ParseRenderOption(const std::vector<std::string>& args, std::size_t& k, TRenderOptions& options,
                       std::string& problem) {
  const std::string& arg = args[k];
  static const char* const valued[] = {"-o",       "--out-dir",   "--stems", "--seconds",
                                       "--format", "--container", "-j",      "--jobs"};
  if (std::find(std::begin(valued), std::end(valued), arg) == std::end(valued)) return false;
  if (k + 1 >= args.size()) {
    problem = arg + " needs a value";
    return true;
  }
  const std::string& value = args[++k];
  if (arg == "-o") {
    options.Output = value;
  } else if (arg == "--out-dir") {
    options.OutDir = value;
  } else if (arg == "--stems") {
    options.StemsDir = value;
  } else if (arg == "--seconds") {
    options.Seconds = ParseTime(value);
    if (!options.Seconds || !(*options.Seconds > 0 && *options.Seconds <= LongestSeconds))
      problem = "--seconds takes a time above 0, up to 3600";
  } else if (arg == "--format") {
    const char* const names[] = {"s16", "s24", "f32"};
    const auto found = std::find(std::begin(names), std::end(names), value);
    if (found == std::end(names)) problem = "--format takes s16, s24 or f32";
    options.Format = static_cast<TSampleFormat>(found - std::begin(names));
  } else if (arg == "--container") {
    const char* const names[] = {"wav", "raw", "flac"};
    const auto found = std::find(std::begin(names), std::end(names), value);
    if (found == std::end(names)) problem = "--container takes wav, raw or flac";
    options.Container = static_cast<TContainer>(found - std::begin(names));
  } else {
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, options.Jobs);
    if (error != std::errc() || stop != end || options.Jobs < 1 || options.Jobs > MostJobs)
      problem = arg + " takes 1 to 256 threads";
  }
  return true;
}

std::string CheckCombination(const TRenderOptions& options) {
  if (options.Inputs.empty()) return "expected FILE";
  const int targets = !options.Output.empty() + !options.OutDir.empty() + !options.StemsDir.empty();
  if (targets != 1) return "expected one of -o OUT, --out-dir DIR and --stems DIR";
  if (!options.Output.empty() && options.Inputs.size() > 1) return "-o takes one FILE; several need --out-dir DIR";
  if (options.Sound.Loops < 0 && !options.Seconds && !options.Sound.EndSeconds)
    return "--loops -1 plays for ever: give --seconds or --end-time";
  if (options.Sound.EndSeconds && *options.Sound.EndSeconds <= options.Sound.StartSeconds)
    return "--end-time must come after --start";
  if (ChosenContainer(options) == TContainer::Flac && options.Format == TSampleFormat::F32)
    return "FLAC holds s16 or s24 samples, not f32";
  std::set<std::string> paths;
  for (const std::string& path : OutputPaths(options))
    if (!paths.insert(path).second) return "two files would both be written to " + path;
  return "";
}

}  // namespace

std::string ParseRenderOptions(const std::vector<std::string>& args, TRenderOptions& options) {
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    std::string problem;
    if (ParseSoundOption(args, k, options.Sound, problem) || ParseRenderOption(args, k, options, problem)) {
      if (!problem.empty()) return problem;
    } else if (arg.starts_with("-")) {
      return "unexpected " + arg;
    } else {
      options.Inputs.push_back(arg);
    }
  }
  return CheckCombination(options);
}

TContainer ChosenContainer(const TRenderOptions& options) {
  if (options.Container) return *options.Container;
  const std::string extension = std::filesystem::path(options.Output).extension().string();
  return extension == ".flac" ? TContainer::Flac : extension == ".raw" ? TContainer::Raw : TContainer::Wav;
}

std::vector<std::string> OutputPaths(const TRenderOptions& options) {
  if (!options.Output.empty()) return {options.Output};
  const bool stems = !options.StemsDir.empty();
  const std::filesystem::path folder = stems ? options.StemsDir : options.OutDir;
  const std::string extension = stems ? "" : std::string(".") + ContainerName(ChosenContainer(options));
  std::vector<std::string> paths;
  for (const std::string& input : options.Inputs)
    paths.push_back((folder / std::filesystem::path(input).stem()).string() + extension);
  return paths;
}
