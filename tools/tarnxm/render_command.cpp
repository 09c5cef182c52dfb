#include "tools/tarnxm/render_command.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "tools/console/progress_bar.h"
#include "tools/tarnxm/interrupt.h"
#include "tools/tarnxm/render_job.h"

namespace {

// What the workers hand the console thread.
struct TBoard {
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<std::string> Lines;
  std::size_t Finished = 0;
  std::size_t WorkersLeft = 0;
  bool Failed = false;
};

double Fraction(const std::vector<TJobProgress>& progress, std::size_t finished) {
  double sum = static_cast<double>(finished);
  for (const TJobProgress& job : progress) {
    const std::int64_t expected = job.Expected.load();
    // A finished job's counters stay where they were; it counts as one already.
    if (expected > 0 && job.Done.load() < expected)
      sum += static_cast<double>(job.Done.load()) / static_cast<double>(expected);
  }
  return sum / static_cast<double>(progress.size());
}

std::string MakeFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return error ? "tarnxm: " + folder + ": cannot create the folder: " + error.message() : "";
}

}  // namespace

int RunRender(const TRenderOptions& options, std::ostream& out, std::ostream& err, bool progress) {
  for (const std::string& folder : {options.OutDir, options.StemsDir}) {
    if (folder.empty()) continue;
    if (const std::string problem = MakeFolder(folder); !problem.empty()) {
      err << problem << "\n";
      return 1;
    }
  }
  const std::vector<std::string> outputs = OutputPaths(options);
  const std::size_t files = options.Inputs.size();
  const auto cores = static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency()));
  const std::size_t threads =
      std::min<std::size_t>(files, static_cast<std::size_t>(options.Jobs ? options.Jobs : cores));

  const TInterruptGuard interruptible;
  std::vector<TJobProgress> jobs(files);
  TBoard board;
  board.WorkersLeft = threads;
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t k = next++; k < files && !Interrupted(); k = next++) {
      TJobResult result = RenderJob(options, options.Inputs[k], outputs[k], out, jobs[k]);
      const std::lock_guard lock(board.Lock);
      board.Lines.insert(board.Lines.end(), result.Lines.begin(), result.Lines.end());
      board.Finished += result.Interrupted ? 0 : 1;
      board.Failed |= !result.Ok && !result.Interrupted;
      board.Changed.notify_one();
    }
    const std::lock_guard lock(board.Lock);
    board.WorkersLeft -= 1;
    board.Changed.notify_one();
  };
  std::vector<std::thread> workers;
  for (std::size_t k = 0; k < threads; ++k) workers.emplace_back(work);

  TProgressBar bar(err, static_cast<std::int64_t>(files), "files", progress);
  std::unique_lock lock(board.Lock);
  for (bool running = true; running;) {
    board.Changed.wait_for(lock, std::chrono::milliseconds(100));
    running = board.WorkersLeft > 0;
    for (const std::string& line : board.Lines) bar.Print(line);
    board.Lines.clear();
    bar.Update(static_cast<std::int64_t>(board.Finished), Fraction(jobs, board.Finished));
  }
  lock.unlock();
  for (std::thread& worker : workers) worker.join();
  bar.Finish();
  if (Interrupted()) {
    err << "tarnxm: interrupted; the unfinished files are removed\n";
    return 130;
  }
  return board.Failed ? 1 : 0;
}
