// The two call forms through which the add-in calls the host.
#pragma once

#include "XLCall.h"

// Hands its arguments unchanged to Excel4v and returns the host's result code.
// Inline, so that a host call costs the add-in no frame of its own.
inline int CallExcel4v(int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]) {
  return Excel4v(xlfn, operRes, count, opers);
}

// A record count fixed at compile time, so it cannot disagree with the list.
template <int N>
struct OperCount {
  static_assert(N >= 0, "a count is never negative");
};
template <int N>
inline constexpr OperCount<N> Count{};

// Only a record pointer may be listed (no C++ library is needed to tell).
template <typename T>
inline constexpr bool IsRecordPointer = false;
template <>
inline constexpr bool IsRecordPointer<LPXLOPER> = true;

// Copies the listed record pointers, in order, into an array that lives for
// the duration of the call and hands it to Excel4v with the count. An empty
// list hands the host a null array. Usage:
//   CallExcel4(xlFree, nullptr, Count<1>, &record);
template <int N, typename... Opers>
int CallExcel4(int xlfn, LPXLOPER operRes, OperCount<N>, Opers... opers) {
  static_assert(sizeof...(Opers) == N, "the count must equal the number of records listed");
  static_assert((IsRecordPointer<Opers> && ...), "every listed argument is a record pointer");
  if constexpr (N == 0) {
    return CallExcel4v(xlfn, operRes, 0, nullptr);
  } else {
    LPXLOPER array[N] = {opers...};
    return CallExcel4v(xlfn, operRes, N, array);
  }
}
