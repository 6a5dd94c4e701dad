#include "XLUtils.h"

int CallExcel4v(int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]) {
  return Excel4v(xlfn, operRes, count, opers);
}
