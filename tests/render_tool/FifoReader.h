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
    read_ = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    write_ = read_ >= 0 ? open(path.c_str(), O_WRONLY) : -1;
    if (write_ < 0) return;
    fcntl(read_, F_SETFL, fcntl(read_, F_GETFL) & ~O_NONBLOCK);
    thread_ = std::thread([this] {
      char buffer[65536];
      for (ssize_t got; (got = ::read(read_, buffer, sizeof buffer)) > 0;) received_.append(buffer, size_t(got));
    });
  }
  ~FifoReader() { Finish(); }
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;

  bool Made() const { return write_ >= 0; }

  // Lets go of the reader's own writing end and returns everything read.
  const std::string& Finish() {
    if (write_ >= 0) close(write_);
    write_ = -1;
    if (thread_.joinable()) thread_.join();
    if (read_ >= 0) close(read_);
    read_ = -1;
    return received_;
  }

private:
  int read_ = -1;
  int write_ = -1;
  std::thread thread_;
  std::string received_;
};

}  // namespace Orvane::Lumisk::RenderTool::Testing
