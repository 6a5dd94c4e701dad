// Calling an add-in's function as a cell does: each argument passed as its
// type text asks, the function called with the stdcall convention, and its
// answer taken as Excel takes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "functions/Registrations.h"

namespace xllhost {

// What a cell calling the registered function with these arguments shows.
// Called while control is passed to the add-in. `answerAt`, when given,
// receives the address the function answered, for a function that answers
// a pointer; else 0. An asynchronous function is passed `asyncHandle` and
// shows #GETTING_DATA until its answer comes (AsyncCalls.h).
Value Invoke(const Registration& registration, const std::vector<Value>& args, std::uintptr_t* answerAt = nullptr,
             std::uintptr_t asyncHandle = 0);

// Calls an entry that takes no argument (an event's handler) and answers
// what it returned.
std::uintptr_t CallWithoutArguments(FARPROC entry, const std::string& name);

// The host copies an answer before anything else. An answer with
// xlbitXLFree holds memory the host handed out, which the host now
// releases; one with xlbitDLLFree belongs to the add-in and goes back
// through its xlAutoFree (xlAutoFree12 for an XLOPER12). A null answer shows
// #NUM!. Called while control is passed.
Value TakeAnswer(HMODULE module, LPXLOPER answer);
Value TakeAnswer(HMODULE module, LPXLOPER12 answer);

// An answer as a cell takes it: missing and nil as the number 0, numbers as
// a worksheet holds them; a record of a type no cell holds is input xllhost
// cannot show.
Value AsCell(Value value);

// Calls an entry that takes one pointer (xlAddInManagerInfo(12),
// SetExcel12EntryPt) and answers what it returned. An entry that leaves the
// stack other than __stdcall does is survived and reported.
std::uintptr_t CallWithPointer(FARPROC entry, const char* name, const void* pointer);

}  // namespace xllhost
