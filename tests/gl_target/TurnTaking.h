// Lets several test threads run their steps strictly one after another, in a
// fixed order of turns, without any timing.
#pragma once

#include <condition_variable>
#include <mutex>

namespace Orvane::Lumisk::Testing {

class TurnTaking {
 public:
  // Blocks until turn `turn` (0, 1, ...) has come.
  void WaitFor(int turn) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return current == turn; });
  }
  // Ends the current turn and lets the next one begin.
  void Pass() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      ++current;
    }
    changed.notify_all();
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  int current = 0;
};

}  // namespace Orvane::Lumisk::Testing
