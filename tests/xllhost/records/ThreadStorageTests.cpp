// What each thread keeps of its own.
#include <gtest/gtest.h>

#include <thread>

#include "records/ThreadStorage.h"

namespace {

struct Counter {
  int value = 0;
};

TEST(ThreadOwn, GivesEachThreadARecordOfItsOwn) {
  xllhost::ThreadOwn<Counter>().value = 1;
  int seen = -1;
  std::thread other([&] {
    seen = xllhost::ThreadOwn<Counter>().value;
    xllhost::ThreadOwn<Counter>().value = 2;
    xllhost::ReleaseThreadStorage();
  });
  other.join();
  EXPECT_EQ(seen, 0);
  EXPECT_EQ(xllhost::ThreadOwn<Counter>().value, 1);
}

TEST(ThreadOwn, MakesTheRecordAnewOnceTheThreadGaveItBack) {
  int after = -1;
  std::thread other([&] {
    xllhost::ThreadOwn<Counter>().value = 5;
    xllhost::ReleaseThreadStorage();
    after = xllhost::ThreadOwn<Counter>().value;
    xllhost::ReleaseThreadStorage();
  });
  other.join();
  EXPECT_EQ(after, 0);
}

}  // namespace
