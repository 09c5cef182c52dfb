#include "tools/tarnxm/render_options.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <set>

#include "tools/console/checked_option.h"
#include "tools/tarnxm/song_length.h"

namespace {

constexpr std::int32_t MostJobs = 256;

std::string CheckCombination(const TRenderOptions& options) {
  const int targets = !options.Output.empty() + !options.OutDir.empty() + !options.StemsDir.empty();
  if (targets != 1) return "expected one of -o OUT, --out-dir DIR and --stems DIR";
  if (!options.Output.empty() && options.Inputs.size() > 1) return "-o takes one FILE; several need --out-dir DIR";
  if (const std::string endless = CheckEndless(options.Sound, options.Seconds); !endless.empty()) return endless;
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

CLI::App* AddRenderCommand(CLI::App& tool, TRenderOptions& options) {
  CLI::App* command = tool.add_subcommand("render", "songs to WAV, FLAC or raw files");
  command->footer("Each song from its start to its end, rendered on every core at once.");
  command->add_option("FILE", options.Inputs, "the XM or MOD modules")->required()->type_name("");
  command->add_option("-o", options.Output, "one song to OUT; - for the standard output")->type_name("OUT");
  command->add_option("--out-dir", options.OutDir, "each song to DIR/NAME.EXT")->type_name("DIR");
  command->add_option("--stems", options.StemsDir, "each heard channel alone to DIR/NAME-01.EXT, ...")
      ->type_name("DIR");
  AddCheckedOption(*command, "--format", "FORMAT", "s16, s24 or f32 samples (s16; FLAC holds s16 or s24)",
                   [&options](const std::string& word) {
                     return ParseName(word, {"s16", "s24", "f32"}, options.Format) ? "" : "takes s16, s24 or f32";
                   });
  AddCheckedOption(*command, "--container", "KIND", "wav, flac or raw (from OUT's extension, else wav)",
                   [&options](const std::string& word) {
                     TContainer container{};
                     if (!ParseName(word, {"wav", "raw", "flac"}, container)) return "takes wav, raw or flac";
                     options.Container = container;
                     return "";
                   });
  AddSecondsOption(*command, options.Seconds);
  AddCheckedOption(*command, "-j,--jobs", "N", "files rendered at once (one for each core)",
                   [&options](const std::string& word) {
                     return ParseNumber(word, options.Jobs) && options.Jobs >= 1 && options.Jobs <= MostJobs
                                ? ""
                                : "takes 1 to 256 threads";
                   });
  AddSoundOptions(*command, options.Sound);
  command->callback([&options] {
    if (const std::string problem = CheckCombination(options); !problem.empty()) throw CLI::ValidationError(problem);
  });
  return command;
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

void AddSecondsOption(CLI::App& command, std::optional<double>& seconds) {
  AddCheckedOption(
      command, "--seconds", "TIME", "render TIME, playing on past the song's end", [&seconds](const std::string& word) {
        seconds = ParseTime(word);
        return seconds && *seconds > 0 && *seconds <= LongestSeconds ? "" : "takes a time above 0, up to 3600";
      });
}

std::string CheckEndless(const TSoundOptions& sound, const std::optional<double>& seconds) {
  return sound.Loops < 0 && !seconds && !sound.EndSeconds ? "--loops -1 plays for ever: give --seconds or --end-time"
                                                          : "";
}
