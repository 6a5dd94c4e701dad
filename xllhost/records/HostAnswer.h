// What every host function shares: the request it is given and the answer
// it gives.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "records/Values.h"

namespace xllhost {

// What a host function is given: the values of the call's records (all
// non-null), the interface it came through and the module that called.
struct Request {
  const std::vector<Value>& args;
  Interface via;
  HMODULE caller;
};

// A result code, and the value for the result record when the call succeeds.
// A function that met input the host cannot interpret says what it was; one
// whose effect only the transcript can show says it in a note; a call Excel
// refuses the add-in where it is made says why, a problem of the add-in's.
struct Answer {
  int code = xlretSuccess;
  Value value;
  std::string unusable;
  std::string note;
  std::string refused;
};

inline Answer Fail(int code, std::string unusable = {}) {
  Answer answer;
  answer.code = code;
  answer.unusable = std::move(unusable);
  return answer;
}

inline Answer Success(Value value) {
  Answer answer;
  answer.value = std::move(value);
  return answer;
}

}  // namespace xllhost
