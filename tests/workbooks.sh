#!/usr/bin/env bash
# Workbooks written part by part (workbooks/make-workbooks.py), read by
# openpyxl (support/xlsx-cells-openpyxl, which the native reader agrees with:
# tests/xllhost/readers/XlsxTests.cpp) and recalculated by xllhost with references.xll: the
# comparison with what Excel saved, its report and JUnit file, cells
# that cannot be calculated, and bad input, which gets one line and status 2
# or leaves its cell not calculated. Arguments: the xllhost program, the
# folder of the fixture add-ins, the project's root.
. "$(dirname "$0")/support/wine.sh"
host=$1
dir=$2
root=$3
python=/usr/bin/python3  # Debian's own, which sees python3-openpyxl
scratch=$(mktemp -d)
trap 'rm -rf "${scratch:?}"' EXIT
passed=0
failed=0

pass() { passed=$((passed + 1)); }
fail() {
  echo "FAILED: $1"
  [ -n "${2:-}" ] && printf '%s\n' "$2" | sed 's/^/  /'
  failed=$((failed + 1))
}
# run ARGS...: xllhost with references.xll; sets said and status.
run() {
  wine_said all "$host" --scenario startup "$@" "$dir/references.xll"
  status=$got
  said=${said//$'\r'/}  # Windows ends its lines with CR LF
}
# expect WHAT STATUS PATTERN...: the last run ended with STATUS and printed each PATTERN (grep -E).
expect() {
  local what=$1 want=$2 pattern
  shift 2
  if [ "$status" -ne "$want" ]; then
    fail "$what: exit status $status, not $want" "$said"
    return
  fi
  for pattern in "$@"; do
    if ! printf '%s\n' "$said" | grep -Eq -- "$pattern"; then
      fail "$what: no line matching \"$pattern\"" "$said"
      return
    fi
  done
  pass
}
# one_line WHAT PATTERN COMMAND...: COMMAND exits 2 saying PATTERN on one line of standard error.
one_line() {
  local what=$1 pattern=$2 err got
  shift 2
  err=$("$@" 2>&1 >/dev/null)
  got=$?
  if [ "$got" -eq 2 ] && [ "$(printf '%s\n' "$err" | grep -c .)" -eq 1 ] && printf '%s' "$err" | grep -Eq -- "$pattern"; then
    pass
  else
    fail "$what: exit status $got, not 2, or not one line saying \"$pattern\"" "$err"
  fi
}

"$python" "$root/tests/workbooks/make-workbooks.py" "$scratch" || { echo "FAILED: writing the workbooks"; exit 1; }
for book in refs differs million linked; do
  "$python" "$root/tests/support/xlsx-cells-openpyxl" "$scratch/$book.xlsx" "$scratch/$book.cells" || fail "reading $book.xlsx"
done

run --workbook "$scratch/refs.cells" --report "$scratch/report.json" --junit "$scratch/junit.xml"
expect "a workbook of every kind of cell" 0 '^22 cells: 19 same as Excel, 0 differ, 3 not calculated$' \
  '^  Calc!A7 =_xll\.Where\(Data!A1:B2\) shows "\[refs\.xlsx\]Data!\$A\$1:\$B\$2"; Excel saved .*: same$' \
  '^  Calc!E1 .* not calculated \(needs RTD\)' '^  Calc!E2 .* not calculated \(a circular reference: Calc!E2 -> Calc!E3 -> Calc!E2\)'
if "$python" - "$scratch/report.json" "$scratch/junit.xml" <<'PY'; then pass; else fail "the report and the JUnit file"; fi
import json, sys, xml.etree.ElementTree as ET
cells = {c["sheet"] + "!" + c["cell"]: c for c in json.load(open(sys.argv[1]))["cells"]}
assert cells["Calc!B1"]["value"]["array"][1][1] == {"text": "[refs.xlsx]Calc!$B$1:$C$2"}, cells["Calc!B1"]
assert cells["Calc!A13"]["value"] == {"boolean": True} and cells["Calc!A14"]["saved"] == {"error": "#VALUE!"}
assert cells["Calc!E1"]["verdict"] == "not calculated" and cells["Calc!E1"]["value"] is None
assert "Calc!F1" not in cells, "a cell that calls no add-in keeps what Excel saved"
suite = ET.parse(sys.argv[2]).getroot()
assert (suite.get("tests"), suite.get("failures"), suite.get("skipped")) == ("22", "0", "3"), suite.attrib
PY

# The command the README gives, on the .xlsx itself, through scripts/xllhost.
said=$(XLLHOST_EXE="$host" "$root/scripts/xllhost" --workbook "$scratch/refs.xlsx" --report "$scratch/readme.json" \
  "$dir/references.xll" 2>&1)
status=$?
said=${said//$'\r'/}
expect "the README's command on refs.xlsx" 0 '^22 cells: 19 same as Excel, 0 differ, 3 not calculated$'
[ -s "$scratch/readme.json" ] && pass || fail "the README's command wrote no report"

run --workbook "$scratch/linked.cells"
expect "another workbook's cells, as Excel cached them" 0 '^  Sheet1!A2 .*Old Prices.* shows 3; Excel saved 3: same$' \
  '^2 cells: 2 same as Excel, 0 differ, 0 not calculated$'

run --workbook "$scratch/differs.cells"
expect "a saved value the add-in does not give" 1 '^  Sheet1!A1 =_xll\.Add\(1,2\) shows 3; Excel saved 4: differs$' \
  '^  Sheet1!A2 =_xll\.Add\(0\.1,0\.2\) shows 0\.3; Excel saved 0\.3: same$' '^2 cells: 1 same as Excel, 1 differ, 0 not calculated$'
run --workbook "$scratch/differs.cells" --tolerance 0.5
expect "a difference within the tolerance" 0 '^2 cells: 2 same as Excel, 0 differ'

run --workbook "$scratch/million.cells"
expect "a sheet whose dimension claims a million rows" 0 '^1 cells: 1 same as Excel'

# Formulas xllhost cannot read or calculate leave their cells not calculated.
{
  echo "A1 =_xll.Add(1+,1) -> 1"
  echo "A2 =_xll.Add(A1:XFE1,1) -> 1"
  echo "A3 =_xll.Add($(printf '(%.0s' {1..10000})1$(printf ')%.0s' {1..10000}),1) -> 1"
  echo "A4 =_xll.Add($(printf '(%.0s' {1..4000})1$(printf ')%.0s' {1..4000}),1) -> 1"
  echo "A5 =_xll.Add(INDIRECT(\"A1\"),1) -> 1"
} >"$scratch/bad.cells"
run --workbook "$scratch/bad.cells"
expect "formulas xllhost cannot read" 0 '^5 cells: 0 same as Excel, 0 differ, 5 not calculated$' \
  'A1 .* not calculated \(xllhost cannot read the formula: unexpected ","' 'A2 .*reference past XFD1048576' \
  'A3 .*longer than the 8192 characters' 'A4 .*nested deeper than 100 levels' 'A5 .*needs Sheet1!A1, which is not calculated'

run --cell A1=2 --cell B1=3 --formula '=Add(A1,B1)*2' --formula '=SumRef(A1:B1)'
expect "cells of the command line" 0 '^  cell C1 =Add\(A1,B1\)\*2 shows 10$' '^  cell C2 =SumRef\(A1:B1\) shows 5$'

printf 'A1 2\nB1 =Add(A1,1)\n' >"$scratch/small.cells"
run --cells "$scratch/small.cells" --formula '=B1*2'
expect "cells of a file" 0 '^  cell B1 =Add\(A1,1\) shows 3$' '^  cell C1 =B1\*2 shows 6$'

# As Excel saves them: #REF! where cells were deleted, in a formula and in
# names, a name xllhost cannot read, a block with a cell saved empty, and a
# large block, 5,000 numbers doubled by one array formula.
printf '%s\n' 'A1 =#REF!+1 -> #REF!' 'A2 =Sheet1!#REF! -> #REF!' 'A3 =Gone -> #REF!' 'name Gone =Sheet1!#REF!' \
  'name Odd =Sheet1!A1 A2:A3' 'A4 =Odd+1 -> 3' 'B1:C1 {={1,2}} -> {1,}' >"$scratch/saved.cells"
"$python" -c 'n = 5000
print("\n".join(f"E{r} {r}" for r in range(1, n + 1)))
print(f"F1:F{n} {{=E1:E{n}*2}} -> {{" + ";".join(str(2 * r) for r in range(1, n + 1)) + "}")' >>"$scratch/saved.cells"
wine_said all "$host" --workbook "$scratch/saved.cells" --all-cells
status=$got
said=${said//$'\r'/}
expect "workbooks as Excel saves them" 0 '^  Sheet1!A4 =Odd\+1 not calculated \(xllhost cannot read the name Odd: ' \
  '^  Sheet1!F1 =E1:E5000\*2 shows \{2;4;.*;10000\}; Excel saved .*: same$' '^6 cells: 5 same as Excel, 0 differ, 1 not calculated$'

# Handles: A1's counter is not Excel's, and B1 takes it as an argument; no
# add-in cell takes A2's.
printf 'A1 =_xll.Keep(7) -> "obj:8"\nB1 =_xll.Fetch(A1) -> 7\nA2 =_xll.Keep(5) -> "obj:9"\nA3 =Add(1,2) -> 3\n' \
  >"$scratch/handles.cells"
run --workbook "$scratch/handles.cells"
expect "a handle compared up to its counter" 1 '^  Sheet1!A1 =_xll\.Keep\(7\) shows "obj:1"; Excel saved "obj:8": same but for its counter$' \
  '^  Sheet1!A2 .*: differs$' '^  Sheet1!A3 =Add\(1,2\) shows 3; Excel saved 3: same$' \
  '^4 cells: 3 same as Excel, 1 differ, 0 not calculated$'

printf 'A1 2\nZ 1\n' >"$scratch/broken.cells"
one_line "a cells file with a line that is no cell" "broken.cells: line 2: expected a cell" wine "$host" --workbook "$scratch/broken.cells" "$dir/references.xll"
one_line ".xlsx given to xllhost.exe itself" "is a zipped workbook" wine "$host" --workbook "$scratch/refs.xlsx" "$dir/references.xll"
printf 'A1 1\nA1 2\n' >"$scratch/twice.cells"
one_line "a cell given twice" "Sheet1!A1 is given twice" wine "$host" --workbook "$scratch/twice.cells" "$dir/references.xll"
one_line "a --cell the cells file gives too" "Sheet1!A1 is given twice" wine "$host" --cells "$scratch/small.cells" --cell A1=5 "$dir/references.xll"


# A strict run. A function no add-in registered shows #NAME? and is judged.
# A problem in a cell's call and one outside any cell reach both reports,
# which fail as the exit status does, saying what xllhost got and why.
printf 'A1 =_xll.NoSuchFunc(1) -> 42\nA2 =_xll.Add(1,2) -> 3\nA3 =_xll.SheetOf(5) -> #VALUE!\n' >"$scratch/strict.cells"
run --workbook "$scratch/strict.cells" --expect-title Nobody --report "$scratch/strict.json" --junit "$scratch/strict.xml"
expect "a function no add-in registered" 1 '^  Sheet1!A1 =_xll\.NoSuchFunc\(1\) shows #NAME\?; Excel saved 42: differs$'
if "$python" - "$scratch/strict.json" "$scratch/strict.xml" <<'PY'; then pass; else fail "problems in the reports"; fi
import json, sys, xml.etree.ElementTree as ET
report = json.load(open(sys.argv[1]))
assert report["status"] == 1, report
in_cell = [p for p in report["problems"] if p["cell"] == "Sheet1!A3"]
assert len(in_cell) == 1 and in_cell[0]["function"] == "SheetOf" and "xlSheetNm failed" in in_cell[0]["text"], report
suite = ET.parse(sys.argv[2]).getroot()
assert (suite.get("tests"), suite.get("failures")) == ("4", "3"), suite.attrib
failures = {case.get("name"): case.find("failure").get("message") for case in suite if case.find("failure") is not None}
assert failures["A1 =_xll.NoSuchFunc(1)"] == "xllhost got #NAME?; Excel saved 42: an error where Excel saved a number"
assert "xlSheetNm failed" in failures["A3 =_xll.SheetOf(5)"] and "xlAddInManagerInfo" in failures["problem 1"], failures
PY
# A crash in the third of five cells keeps the two verdicts before it.
printf 'A1 =_xll.Add(1,1) -> 2\nA2 =_xll.Add(2,2) -> 4\nA3 =_xll.Crash(1) -> 1\nA4 =_xll.Add(3,3) -> 6\nA5 =_xll.Add(4,4) -> 8\n' \
  >"$scratch/crash.cells"
run --workbook "$scratch/crash.cells" --report "$scratch/crash.json" --junit "$scratch/crash.xml"
expect "a crash in a cell" 3 'crash: an access violation writing address 0x0+ \(exception 0xC0000005\) at 0x[0-9A-F]+ in references.xll, while cell Sheet1!A3 =_xll.Crash\(1\) ran'
if "$python" - "$scratch/crash.json" "$scratch/crash.xml" <<'PY'; then pass; else fail "the reports of a crash"; fi
import json, sys, xml.etree.ElementTree as ET
report = json.load(open(sys.argv[1]))
verdicts = {c["cell"]: (c["verdict"], c["why"]) for c in report["cells"]}
assert report["status"] == 3 and verdicts["A1"][0] == verdicts["A2"][0] == "same", report
assert verdicts["A3"][0] == "the session ended in it" and "(exception 0xC0000005)" in verdicts["A3"][1], verdicts
assert verdicts["A4"] == verdicts["A5"] == ("not calculated", "not calculated: the session ended in Sheet1!A3"), verdicts
suite = ET.parse(sys.argv[2]).getroot()
assert (suite.get("tests"), suite.get("failures"), suite.get("skipped")) == ("5", "1", "2"), suite.attrib
PY
printf 'A1 2\nB1 =A1*2 -> 4\n' >"$scratch/plain.cells"
run --workbook "$scratch/plain.cells"
expect "a workbook that calls no add-in" 2 'nothing was judged'
# The engine's own check, with no add-in: every built-in's formula
# recalculated and compared with the value Excel gives.
wine_said all "$host" --workbook "$root/tests/workbooks/builtins.cells" --all-cells
status=$got
said=${said//$'\r'/}
formulas=$(grep -cE '^[A-Z]+[0-9]+(:[A-Z]+[0-9]+)? \{?=' "$root/tests/workbooks/builtins.cells")  # a cell judged for each formula, a block's once
expect "every built-in, with --all-cells and no add-in" 0 "^$formulas cells: $formulas same as Excel, 0 differ, 0 not calculated\$"
printf 'no workbook' >"$scratch/text.xlsx"
one_line "a text file given as .xlsx" "text\.xlsx is not a workbook" wine "$host" --workbook "$scratch/text.xlsx" "$dir/references.xll"
one_line "a report that cannot be written" "cannot write .*none/r\.json" \
  wine "$host" --workbook "$scratch/strict.cells" --report "$scratch/none/r.json" "$dir/references.xll"

echo "workbooks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
