// xllhost: plays Excel's side for an XLL add-in outside Excel. Host programs
// and tests include this header for all of it.
#pragma once

#include "catalog/FunctionNames.h"
#include "callbacks/Callbacks.h"
#include "engine/Calculation.h"
#include "functions/AddInsHost.h"
#include "functions/Information.h"
#include "functions/Registrations.h"
#include "functions/Worksheet.h"
#include "native/AddInFile.h"
#include "native/CrashReport.h"
#include "functions/Information.h"
#include "functions/Registrations.h"
#include "session/AddIn.h"
#include "state/Behaviour.h"
#include "state/CallContext.h"
#include "state/Calls.h"
#include "state/HostMemory.h"
#include "state/Modules.h"
#include "workbook/CellsText.h"
