// Runs the steps of a test on several threads strictly one after another, in a
// fixed order of turns, without any timing.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "gl/AEOpenGLContext.h"

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

// Runs step(turn) for every turn of turnsOfThread[i] on thread i, in ascending
// order of turns across all threads. Each thread has a context of its own,
// shared with `root`, made at its first turn and deleted within its last one
// (so that no two threads ever touch GL at once). Steps report through EXPECT_*.
inline void RunOnThreadsInTurn(AEOpenGLContext& root, const std::vector<std::vector<int>>& turnsOfThread,
                               const std::function<void(int turn)>& step) {
  TurnTaking turns;
  auto threadBody = [&](const std::vector<int>& myTurns) {
    std::unique_ptr<AEOpenGLContext> context;
    for (const int turn : myTurns) {
      turns.WaitFor(turn);
      if (context == nullptr) {
        context = std::make_unique<AEOpenGLContext>(&root);
      }
      context->MakeCurrent();
      step(turn);
      if (turn == myTurns.back()) {
        context.reset();
      }
      turns.Pass();
    }
  };
  std::vector<std::thread> threads;
  for (const std::vector<int>& myTurns : turnsOfThread) {
    threads.emplace_back(threadBody, myTurns);
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
}

}  // namespace Orvane::Lumisk::Testing
