#include "tools/tarnxm/tarnxm.h"

#include <CLI/CLI.hpp>

#include "tools/console/command_line.h"
#include "tools/tarnxm/info_command.h"
#include "tools/tarnxm/play_command.h"
#include "tools/tarnxm/render_command.h"
#include "tools/tarnxm/video_command.h"

int RunTarnXM(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const TConsole& console) {
  CLI::App tool("The module player's tool: XM and MOD modules described, rendered to files and videos, and played.",
                "tarnxm");
  // A later value of an option replaces an earlier one.
  tool.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  tool.set_version_flag("--version", "tarnxm " TARNXM_VERSION);
  tool.require_subcommand(1);
  tool.footer(
      "tarnxm info --help, tarnxm render --help, tarnxm video --help and tarnxm play --help\nlist each command's "
      "options.");
  TInfoOptions info;
  TRenderOptions render;
  TPlayOptions play;
  TVideoCommandOptions video;
  const CLI::App* infoCommand = AddInfoCommand(tool, info);
  const CLI::App* renderCommand = AddRenderCommand(tool, render);
  const CLI::App* videoCommand = AddVideoCommand(tool, video);
  AddPlayCommand(tool, play);
  if (const std::optional<int> status = ParseCommandLine(tool, args, out, err)) return *status;
  if (*infoCommand) return RunInfo(info, out, err);
  if (*renderCommand) return RunRender(render, out, err, console.Terminal);
  if (*videoCommand) return RunVideo(video, out, err, console.Terminal);
  // The one command left.
  return RunPlay(play, out, err, console);
}
