// A FIFO made in a test's folder and read to its end on a thread of its own.
// The reader holds a writing end itself until Finish, so that it never waits
// for a writer that does not come (a program that failed, or replaced the FIFO
// by a file): Finish returns what came through, perhaps nothing.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <thread>

namespace Orvane::Lumisk::RenderTool::Testing {

class FifoReader {
public:
  explicit FifoReader(const std::string& path) {
    if (mkfifo(path.c_str(), 0600) != 0) return;
    // Opening for reading without waiting, then for writing, which a FIFO with
    // a reader allows at once.
    readEnd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    writeEnd = readEnd >= 0 ? open(path.c_str(), O_WRONLY) : -1;
    if (writeEnd < 0) return;
    fcntl(readEnd, F_SETFL, fcntl(readEnd, F_GETFL) & ~O_NONBLOCK);
    drainer = std::thread([this] {
      char buffer[65536];
      for (ssize_t got; (got = ::read(readEnd, buffer, sizeof buffer)) > 0;) received.append(buffer, size_t(got));
    });
  }
  ~FifoReader() { Finish(); }
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;

  bool Made() const { return writeEnd >= 0; }

  // Lets go of the reader's own writing end and returns everything read.
  const std::string& Finish() {
    if (writeEnd >= 0) close(writeEnd);
    writeEnd = -1;
    if (drainer.joinable()) drainer.join();
    if (readEnd >= 0) close(readEnd);
    readEnd = -1;
    return received;
  }

private:
  int readEnd = -1;
  int writeEnd = -1;
  std::thread drainer;
  std::string received;
};

}  // namespace Orvane::Lumisk::RenderTool::Testing
