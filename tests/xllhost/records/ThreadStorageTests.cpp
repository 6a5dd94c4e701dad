// What each thread keeps of its own.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

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

#ifdef _WIN32
// An add-in may take every TLS index Windows has before xllhost asks for one.
TEST(ThreadOwn, ServesARecordOfItsOwnWhenWindowsHasNoTlsIndexLeft) {
  std::vector<DWORD> taken;
  for (DWORD index; (index = TlsAlloc()) != TLS_OUT_OF_INDEXES;) taken.push_back(index);
  struct Fresh {
    int value = 0;
  };
  xllhost::ThreadOwn<Fresh>().value = 1;
  int seen = -1;
  std::thread other([&] {
    seen = xllhost::ThreadOwn<Fresh>().value;
    xllhost::ReleaseThreadStorage();
  });
  other.join();
  for (DWORD index : taken) TlsFree(index);
  EXPECT_FALSE(taken.empty());
  EXPECT_EQ(seen, 0);
  EXPECT_EQ(xllhost::ThreadOwn<Fresh>().value, 1);
}
#endif

}  // namespace
