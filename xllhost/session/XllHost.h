// xllhost: plays Excel's side for an XLL add-in outside Excel. Host programs
// and tests include this header for all of it.
#pragma once

#include "AddIn.h"
#include "AddInFile.h"
#include "AddInsHost.h"
#include "Calculation.h"
#include "CellsText.h"
#include "CallContext.h"
#include "Calls.h"
#include "CrashReport.h"
#include "FunctionNames.h"
#include "Callbacks.h"
#include "HostMemory.h"
#include "HostState.h"
#include "Modules.h"
#include "Worksheet.h"
