// The entries that the host calls in Quorrel.xll. All use the host's stdcall
// convention; Quorrel.def exports them undecorated at fixed ordinals.
#pragma once

#include "XLCall.h"

extern "C" {
// Opening the add-in registers =TavikFnc(); removing it takes that back.
int WINAPI xlAutoOpen();
int WINAPI xlAutoRemove();

// Both answer with a pointer into the add-in's one static result record, so
// the host must copy the answer before its next call into the add-in.
LPXLOPER WINAPI xlAddInManagerInfo(LPXLOPER request);
LPXLOPER WINAPI SampleFunc();
}
