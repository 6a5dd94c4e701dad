// xllhost: plays Excel's side for an XLL add-in outside Excel. Host programs
// and tests include this header for all of it.
#pragma once

#include "AddIn.h"
#include "Calls.h"
#include "CrashReport.h"
#include "Host.h"
#include "Values.h"
