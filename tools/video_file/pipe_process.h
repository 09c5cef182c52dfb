#pragma once
// A child program that reads its input from pipes: one pipe per descriptor
// asked for (0 for its standard input, 3 and up for more), written from here.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

class TPipeProcess {
 public:
  TPipeProcess() = default;
  // Closes what is still open and waits for the child.
  ~TPipeProcess();
  TPipeProcess(const TPipeProcess&) = delete;
  TPipeProcess& operator=(const TPipeProcess&) = delete;

  // Runs program (a path) with arguments (argument 0 included), the child's
  // descriptors childFds reading from new pipes. False when it cannot start.
  bool Start(const std::string& program, const std::vector<std::string>& arguments, const std::vector<int>& childFds);

  // Writes all of data to the pipe of childFds[input]; false once the child
  // has stopped reading.
  bool Write(std::size_t input, const void* data, std::size_t size);
  // End of data on that pipe.
  void Close(std::size_t input);

  // Closes every pipe, waits for the child and gives its exit status (-1 when
  // it did not exit normally or never started).
  int Finish();

 private:
  pid_t Child = -1;
  std::vector<int> Pipes;
};

// The program's path as the shell would find it in PATH; empty when absent.
std::string FindProgram(const std::string& name);
