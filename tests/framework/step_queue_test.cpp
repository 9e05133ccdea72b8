#include "framework/step_queue.h"

#include <gtest/gtest.h>

#include <string>

namespace brevane::framework {
namespace {

// A bounded turn runs steps in order, stops when told, and keeps the rest (and what the
// running steps posted) for the next turn.
TEST(StepQueueTest, BoundedTurnsKeepOrderAndLeaveTheRest) {
  StepQueue queue;
  std::string ran;
  for (char c : std::string("abcd")) {
    queue.Post([&, c] {
      ran += c;
      if (c == 'a') queue.Post([&] { ran += 'e'; });
      if (c == 'c') queue.Post([&] { ran += 'f'; });
    });
  }
  int budget = 2;
  EXPECT_TRUE(queue.RunWhile([&] { return --budget > 0; }));
  EXPECT_EQ(ran, "ab");
  EXPECT_TRUE(queue.RunWhile([] { return true; }));  // 'f', posted during this turn, waits
  EXPECT_EQ(ran, "abcde");
  EXPECT_FALSE(queue.RunWhile([] { return true; }));
  EXPECT_EQ(ran, "abcdef");
  queue.Post([&] { ran += 'x'; });
  queue.Close();
  EXPECT_FALSE(queue.RunWhile([] { return true; }));
  EXPECT_EQ(ran, "abcdef");
}

}  // namespace
}  // namespace brevane::framework
