#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "logdata/read_buffer.h"

namespace qv {
namespace {

// Records are copied on the read's worker and the window's thread at once, and
// the last holder, on whichever thread, frees the image: the count must never
// lose a copy (the sanitizer builds see a freed or leaked image).
TEST(SharedBufferThreads, CopiesOnManyThreadsKeepTheImageUntilTheLastGoes) {
  SharedReadBuffer buffer = readBufferOf(std::string(4096, 'x'));
  std::vector<std::vector<SharedReadBuffer>> kept(4);
  std::vector<std::thread> threads;
  for (std::vector<SharedReadBuffer>& mine : kept) {
    threads.emplace_back([&mine, source = buffer] {
      for (int i = 0; i < 20000; ++i) {
        SharedReadBuffer copy = source;
        SharedReadBuffer moved = std::move(copy);
        if (i % 100 == 0) mine.push_back(moved);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(buffer.useCount(), 1u + 4 * 200);
  buffer.reset();
  EXPECT_FALSE(buffer);
  threads.clear();
  for (std::vector<SharedReadBuffer>& mine : kept) {
    threads.emplace_back([&mine] {
      EXPECT_EQ(mine.back()->content(), std::string(4096, 'x'));
      mine.clear();
    });
  }
  for (std::thread& thread : threads) thread.join();

  SharedReadBuffer alone = readBufferOf("ab");
  const SharedReadBuffer& same = alone;
  alone = same;  // assigning a holder to itself keeps the image
  EXPECT_EQ(alone->content(), "ab");
  EXPECT_EQ(alone.useCount(), 1u);
}

}  // namespace
}  // namespace qv
