#!/usr/bin/env bash
# Whole sessions of add-ins other than Quorrel.xll, each exercising one slice
# of the host: a table of cells and what each must show, one xllhost run per
# add-in. Arguments: the xllhost program, the folder of the fixture add-ins,
# the size of a pointer in them (4 or 8).
. "$(dirname "$0")/support/wine.sh"
host=$1
dir=$2
pointer=$3
passed=0
failed=0

# session STATUS PATTERN ADDIN ARGUMENT...: xllhost exits with STATUS and
# prints lines matching PATTERN, extended regexes one a line (empty for none).
session() {
  local status=$1 pattern=$2 addin=$3
  shift 3
  local said got matched=1 line
  wine_said all "$host" "$@" "$dir/$addin.xll"
  while IFS= read -r line; do
    [ -z "$line" ] || printf '%s' "$said" | grep -Eq -- "$line" || matched=0
  done <<<"$pattern"
  if [ "$got" -eq "$status" ] && [ $matched -eq 1 ]; then
    passed=$((passed + 1))
  else
    echo "FAILED: $addin.xll: exit status $got, not $status${pattern:+, or no \"$pattern\"}; it printed:"
    printf '%s\n' "$said" | sed 's/^/  /'
    failed=$((failed + 1))
  fi
}

# Scalar arguments and answers of each type code, through Excel4.
session 0 "" scalars --quiet \
  --expect '=Add(1,2)' 3 --expect '=Add(0.1,0.2)' 0.3 --expect '=Add(1E+20,0)' 1E+20 --expect '=Add(#DIV/0!,1)' '#VALUE!' \
  --expect '=Greet("a ""b""")' 'Hello, a "b"' --expect '=Flag(TRUE,)' TRUE --expect '=Flag(1,"TRUE")' FALSE \
  --expect '=Fail(#N/A)' '#N/A' --expect '=Twice(3.7)' 6 --expect '=Twice(40000)' '#NUM!' --expect '=Twice("x")' '#VALUE!' \
  --expect '=Length("hello")' 5 --expect '=Low(258)' 2 --expect '=Low(-1)' '#NUM!' --expect '=Square(3)' 9 \
  --expect '=Negate(5)' -5 --expect '=Triple(7)' 21 --expect '=Both(TRUE,TRUE)' TRUE \
  --expect '=Mixed(TRUE,2.5,4,"abc")' 1013 --expect '=Nothing()' '#NUM!' --expect '=Add(1,2,3)' '#VALUE!' \
  --expect '=Add(1E+308,1E+308)' '#NUM!' --expect '=Add(1E-310,0)' 0 --expect '=Add(-1E-320,0)' 0 \
  --expect '=AddCounted(1,2)' 3 --expect '=Excess(1,1E-16)' 0
# A function called through the host (xlUDF) by its name or its register ID.
session 0 "" scalars --quiet --expect '=Through("Add",1,2)' 3 --expect '=Through("add",2,2)' 4 \
  --expect '=Through(IdOf("Add"),2,3)' 5 --expect '=Through("Nobody",1,2)' '#NAME?' --expect '=Through(12345,1,2)' '#NAME?'
# Functions run in Excel's floating-point environment; one that changes it is told.
session 0 "returned with the floating-point environment changed: x87 control word 0x037F" scalars --formula '=Widen(1)'
# Message boxes are problems, told and answered so that the work goes on.
session 1 'came through MessageBoxW while xlAutoOpen ran, titled "Microsoft Visual C\+\+ Runtime Library", saying "Assertion failed!\\x0A\\x0AExpression: table\.size\(\) == 3", with Abort, Retry, Ignore: in Excel it waits until a person answers; xllhost answered Ignore' dialogs
session 1 'cell A1 =Checked\(2\) shows 2' dialogs --formula '=Checked(2)'
session 1 'came through MessageBoxA while .*=Checked\(-1\) ran, titled "Checked", saying "x is negative", with OK: .*answered OK' dialogs --formula '=Checked(-1)'
session 3 'xllhost: crash: abort\(\) was called' dialogs --dialog-answer abort
# The C API functions only an add-in may call answer as the reference says.
session 0 "" hostinfo --quiet --expect '=AND(Stack12()>4096,Stack12()<=65536)' TRUE --expect '=Stack4()=MIN(Stack12(),65535)' TRUE \
  --expect '=Cluster()' 0 --expect '=SameInstance()' 1 --expect '=Messages()' 0
# A crash says what happened, in which module and in which cell's call.
session 3 'crash: a breakpoint the code set off \(DebugBreak or int 3\).*, while cell A1 =Break\(1\) ran' \
  crashes --formula '=Break(1)'
session 3 'crash: a C\+\+ exception of type std::runtime_error that no handler caught, thrown in crashes.xll \(exception 0xE06D7363\).*, while cell A1 =Throw\(1\) ran' \
  crashes --formula '=Throw(1)'
# GCC's runtime names the exception before it calls abort(); clang's i686 build does not.
session 3 "crash: abort\\(\\) was called.*, while cell A1 =Uncaught\\(1\\) ran" crashes --formula '=Uncaught(1)'
# A type text whose count includes its terminating NUL is registered, and said to be.
session 0 "the type text's count includes its terminating NUL, which Excel accepts" scalars --formula '=AddCounted(1,2)'

# Wide strings, 32-bit integers, XLOPER12 answers freed through xlAutoFree12,
# the calling cell and the Add-In Manager's xlAddInManagerInfo12, all through Excel12.
session 0 "" wide --quiet --expect-title "Wide Add-In" \
  --expect '=GreetW("wide")' 'Hello, wide' --expect '=LengthW("four")' 4 --expect '=Next(2147483646)' 2147483647 \
  --expect '=Next(2147483648)' '#NUM!' --expect '=Echo("x")' x --expect '=Freed()' 1 --expect '=Row()' 7 \
  --expect '=Sheet()' '[Book1]Sheet1'

# A command and a function registered without type texts: the add-in's
# xlAutoRegister12 registers them; one that asks again without one is told.
session 0 "the type text is omitted: Excel asked the add-in's xlAutoRegister12 to register it" commands \
  --expect '=Half(5)' 2.5
LOOP=1 session 1 "xlAutoRegister asked again to register Loop without a type text" commands --quiet
# A command registers without a type text and without xlAutoRegister; texts
# counted with their NUL and a name starting with \ are taken as Excel takes them.
session 0 'xlfRegister\(.*"Refresh", , "Refresh", , 2, "Commands"\) through Excel12 -> ok
xlfSetName\("\\REGEX", 1\) through Excel12 -> ok
Session clean' library --expect '=Third(9)' 3

# A function registered thread-safe is refused what Excel refuses it, with
# Excel's codes, and each refusal is a problem; registered without $, it is not.
session 1 'Refused is registered thread-safe \(\$\) but calls xlfSetName, which Excel refuses there
but calls xlfGetCell, which
but calls xlAbort, which
cell A1 =Refused\(\) shows "128 32 128"
Session FAILED: 3 problem' threads --formula '=Refused()'
session 0 'cell A1 =Unrefused\(\) shows "0"' threads --formula '=Unrefused()'
# A thread-safe function reading a cell not yet calculated is answered
# xlretUncalced, which is no problem of the add-in's; a calculated one is read.
session 0 'xlCoerce\(R2C1\) through Excel12 -> not calculated yet \(64\)
cell A1 =Below\(\) shows "64"
cell A3 =Below\(\) shows "0"
Session clean' threads --threads 1 --formula '=Below()' --formula '=Square(3)' --formula '=Below()'

# The thread check: each function registered thread-safe that a cell calls, called again from several threads at once.
session 0 'Square: 2000 calls from 4 threads at once, every answer as alone
Echo: 1000 calls from 4 threads at once, every answer as alone' threads --check-threads \
  --formula '=Square(3)' --formula '=Square(4)' --formula '=Echo(2)'
session 1 'Shared is registered thread-safe \(\$\) but answers the same record, at 0x[0-9A-F]+, on 4 threads at once' \
  threads --check-threads --formula '=Shared(2)'
session 1 'Tally is registered thread-safe \(\$\) but is not: called from 4 threads at once, it answered [0-9]+ for cell A1 =Tally\(1\), where it answers 400000 alone' \
  threads --check-threads --formula '=Tally(1)'

# Recalculated on several threads, cells of thread-safe functions show what
# they show on one, reported in the same order; what a cell calculated
# ahead of its turn said names the thread it was said on.
threaded=$(mktemp)
for row in $(seq 1 300); do printf 'A%s =Square(%s)\nB%s =Echo(A%s)\nC%s =Unrefused()\n' "$row" "$row" "$row" "$row" "$row"; done >"$threaded"
wine_said all "$host" --threads 1 --cells "$threaded" --formula "=Square(0)" "$dir/threads.xll"
one=$said
wine_said all "$host" --threads 3 --cells "$threaded" --formula "=Square(0)" "$dir/threads.xll"
unmarked=$(printf '%s\n' "$said" | sed -E 's/, calculated on the (main|calculation) thread[ 0-9]*//; s/\[(main thread|calculation thread [0-9]+)\] //')
if [ "$got" -eq 0 ] && [ "$unmarked" = "$one" ] && printf '%s' "$one" | grep -q 'cell B300 =Echo(A300) shows 90000'; then
  passed=$((passed + 1))
else
  echo "FAILED: threads.xll on 3 threads did not say what it says on 1 (exit status $got); it printed:"
  diff <(printf '%s\n' "$one") <(printf '%s\n' "$unmarked") | head -20 | sed 's/^/  /'
  failed=$((failed + 1))
fi
rm -f "$threaded"

# A thread-safe function that never returns ends the run, naming its cell
# and where its thread is, whichever thread calculates it.
session 3 'did not return: the call of cell A2 =Stall\(-1\), ran 1 s \(--timeout\) and did not return; the add-in.s thread is at threads\.xll\+0x[0-9A-F]+: it runs its own code' \
  threads --threads 2 --timeout 1 --formula '=Square(2)' --formula '=Stall(-1)' --formula '=Stall(1)'

# Answers taken from arguments modified in place.
session 0 "" inplace --quiet \
  --expect '=Upper("abc")' ABC --expect '=Shout("hey")' 'hey!' --expect '=UpperW("wide")' WIDE \
  --expect '=Double(21)' 42 --expect '=Swap(1,5)' -5
session 1 "changed its argument 1 \(type P\) in place" inplace --quiet --formula '=Meddle(1)'

# Arrays in and out, and an array in the add-in's memory given back through xlAutoFree.
session 0 "" arrays --quiet \
  --expect '=Sum({1,2;3,4})' 10 --expect '=Sum({1,,"a";TRUE,2,3})' 6 --expect '=Rows({1,2;3,4;5,6})' 3 \
  --expect '=Square2()' 1 --expect '=FreedCount()' 1
session 0 "cell A1 =Square2\(\) shows 1 \(top-left of \{1,2;3,4\}\)" arrays --formula '=Square2()'

# Arrays of numbers (K, K%, O, O%) in and out, some changed in place; answers no cell holds show #NUM! or 0;
# counts that cannot be true are the add-in's fault.
session 0 "" numbers --quiet \
  --expect '=Total({1,2;3,4})' 10 --expect '=Total4({1.5,2.5})' 4 --expect '=Total(5)' 5 --expect '=Total({1,"a"})' '#VALUE!' \
  --expect '=Columns({1,2,3})' 3 --expect '=DoubledColumn({1,2,3})' 2 --expect '=Halve({8,6})' 4 --expect '=Unusual()' '#NUM!' \
  --expect '=Cells({1,2,3;4,5,6})' 236 --expect '=Cells("a")' '#VALUE!' --expect '=INDEX(FirstRow({1,2;3,4}),2,1)' '#REF!'
session 1 "cell A1 =Grow\(\{1;2\}\) left in its argument an array of numbers Excel cannot read: its counts say 3 x 1, more numbers" \
  numbers --quiet --formula '=Grow({1;2})'
session 0 "shows 2 \(top-left of \{2;4;6\}\)
shows #NUM! \(top-left of \{#NUM!,#NUM!;0,4\}\)" numbers --formula '=DoubledColumn({1,2,3})' --formula '=Unusual()'
# The add-in's problems stand when xllhost then meets what it cannot interpret.
session 1 "Session FAILED: 1 problem\(s\); xllhost also met what it cannot interpret \(1\)" numbers --quiet \
  --formula '=Empty()' --formula '=NoSuch()'
session 1 "cell A1 =Empty\(\) answered an array of numbers Excel cannot read: its counts say 0 x 3" numbers --quiet --formula '=Empty()'

# xlCoerce through both interfaces, its answers handed back with xlbitXLFree.
session 0 "" coerce --quiet \
  --expect '=As(1.5,2)' 1.5 --expect '=As("12.5",1)' 12.5 --expect '=As(TRUE,1)' 1 --expect '=As("abc",1)' '#VALUE!' \
  --expect '=As(7,4)' TRUE --expect '=As({3,4},1)' 3 --expect '=As(5,64)' 5 --expect '=As(,2)' '' \
  --expect '=As12("true",4)' TRUE --expect '=As12(123456,2)' 123456 --expect '=As12("x",16)' '#VALUE!'

# What xllhost cannot interpret ends the session with status 2, never a verdict.
session 2 "passes 33 words of arguments; xllhost passes at most 32" odd --quiet
session 2 "an answer is a record with the unknown type word 8192" odd --quiet --formula '=Strange()'

# Registrations left for Excel to take back after xlAutoClose are no fault.
session 0 "Excel unregisters =Left\(\) \(Left\), which the add-in left registered" leftovers --expect '=Left()' 7

# What add-ins ask at start-up and show the user; a function xllhost does not model is named, and leaves the session unjudged.
session 0 "Excel shows the alert \"Start-up fixture ready\"; the user presses OK" startup \
  --expect '=ExcelVersion()' 16.0 --expect '=DecimalSeparator()' . --expect '=SettingsCount()' 45 \
  --expect '=Volatile()' 1 --expect '=Procedures()' 15
session 2 "the add-in asked GET.WORKSPACE type 99, which xllhost does not model" startup --quiet --formula '=Unmodelled()'
session 1 "Unentitled is registered without # but calls xlfGetWorkspace, an information function" startup --quiet --formula '=Unentitled()'
session 2 "the 1 problem\(s\) after it may be the add-in's reaction" startup --quiet --formula '=Alarmed()'
# What the workbook is: a new one, never saved, or the one a session reads.
session 0 "" startup --quiet --cell D20=1 \
  --expect '=Document(88)' Book1 --expect '=Document(76)' '[Book1]Sheet1' --expect '=Document(1)' '[Book1]Sheet1' \
  --expect '=Document(2)' '#N/A' --expect '=Document(3)' 1 --expect '=Document(1,"Other")' '#N/A' \
  --expect '=Document(88,"book1")' Book1 --expect '=Document(10)' 20 --expect '=Document(11)' 4 \
  --expect '=Document(14)' 1 --expect '=Workbook(4)' 1 --expect '=Workbook(1)' '[Book1]Sheet1'
session 2 "the add-in asked GET.DOCUMENT type 4, which xllhost does not model" startup --quiet --formula '=Document(4)'
sheets=$(mktemp)
printf 'book Sheets.xlsx\nsheet First\nA1 1\nsheet Second\nA1 2\n' >"$sheets"
session 0 "" startup --quiet --cells "$sheets" \
  --expect '=Workbook(4)' 2 --expect '=Document(1)' '[Sheets.xlsx]First' --expect '=Document(76,"Second")' '[Sheets.xlsx]Second'
# A cell, a name and a reference's text.
printf 'A1 1\nA2 7\nB3 "x"\nC1 =A2*2 -> 14\nname Rate =Sheet1!$A$1*2\n' >"$sheets"
session 0 "" startup --quiet --cells "$sheets" \
  --expect '=Cell(1,A2)' '$A$2' --expect '=Cell(2,B3)' 3 --expect '=Cell(3,B3)' 2 --expect '=Cell(4,B3)' 2 \
  --expect '=Cell(5,A2)' 7 --expect '=Cell(6,C1)' '=A2*2' --expect '=Cell(48,C1)' TRUE --expect '=Cell(48,A2)' FALSE \
  --expect '=Cell(62,A2)' '[Book1]Sheet1' --expect '=NameOf("Rate")' '=Sheet1!R1C1*2' --expect '=NameOf("Rate",TRUE)' FALSE \
  --expect '=NameOf("Nobody")' '#NAME?' --expect '=Ref("R2C1")' 7 --expect '=Ref("A2",TRUE)' 7 --expect '=Ref("nothing")' '#REF!' \
  --expect '=Def("Sheet1!R1C1*2")' Rate --expect '=Def("=R1C1*2")' Rate --expect '=Def("R9C9")' '#NAME?' \
  --expect '=Def("R1C1*2",2)' '#NAME?'
session 2 "the add-in asked GET.CELL type 7, which xllhost does not model" startup --quiet --formula '=Cell(7,B5)'
rm -f "$sheets"
session 0 "the status bar shows \"Loading the start-up fixture\"" startup --formula '=Volatile()'
session 0 'xlfGetWorkspace\(1\) -> ok, result "Windows \((32|64)-bit\) NT [0-9]+\.[0-9]{2}"' startup --formula '=Volatile()'
session 0 'xlfRtd\("quotes.server", "", "MSFT"\) -> ok, result #N/A' startup --expect '=Rtd()' '#N/A'

# The transcript tells the truth: a count past its text is flagged and shown
# whole, a host array kept is charged to its cell, a problem after the verdict
# still fails the session, and a DLL that cannot be loaded names what it lacks.
session 1 'cell A1 =BadCount\(\) handed over a string whose count runs past its text: character 14 of the 20' careless --quiet --formula '=BadCount()'
session 1 'shows "Hello, world!\\x00\\x01\\x02' careless --formula '=BadCount()'
session 1 "cell A1 =KeepArray\(\) did not give back 1 host array before it answered" careless --quiet --formula '=KeepArray()'
session 1 "cell A1 =SetsCell\(\) called xlSet, which Excel runs only for a command: it failed \(code 32\)" careless --quiet \
  --expect '=SetsCell()' 32
# Answers that point where nothing can be read are the add-in's problems, never a crash of xllhost.
session 1 "cell A1 =Dangling\(\)'s answer points into the stack of a call that has returned" careless --quiet --formula '=Dangling()'
session 1 "cell A1 =Wild\(\)'s answer points to no memory \(0x0*10\)" careless --quiet --formula '=Wild()'
session 1 "=WildElement\(\)'s answer is an array whose element 2 has a text that points to no memory" careless --quiet \
  --formula '=WildElement()'
session 1 "xlCoerce: argument 1 points to no memory \(0x0*10\)" careless --quiet --formula '=PassesWild()'
session 1 "cell A1 =Freed\(\)'s answer points to no memory" careless --quiet --formula '=Freed()'
session 1 "PROBLEM after the verdict: xlFree called outside any entry" lingering --quiet
session 1 "stays loaded after Excel's last FreeLibrary" lingering
session 2 "quorrel-absent.dll" dependent --quiet

# Asynchronous functions answered from a worker thread, singly, in a row or at once; cells that need an answer
# wait for it; the end raises an event. A handle never answered cancels the calculation; one answered twice fails.
session 0 'calls CalcEnded\(\)' async --scenario startup --expect '=Later(21)' 42 --expect '=AtOnce("a")' a \
  --expect '=Later(A1)' 84 --expect '=A1*10' 420 --expect '=Later(1)+Later(2)' 6 --expect '=Later(Later(1))' 4 --expect \
  '=Batch(5)' 10 --expect '=Batch(6)' 12 --expect '=IFERROR(Later(3),"x")' 6 --expect '=Later("x")' '#VALUE!'
session 1 'A2 =A1\+1 shows #GETTING_DATA
xleventCalculationCanceled: calls CalcCanceled\(\)
PROBLEM: cell A1 =Never\(1\): its asynchronous call was not answered within 1 s' async --timeout 1 --formula '=Never(1)' --formula '=A1+1'
session 1 'PROBLEM: xlAsyncReturn was given the handle of cell A1 =Twice\(3\), which was answered already; it answered FALSE' \
  async --formula '=Twice(3)'

# An add-in bound to xlcall32.dll by ordinal, and what XLCallVer answers.
session 0 "" ordinals --quiet --expect '=Version()' 3072
session 2 "called LPenHelper of xlcall32.dll, which xllhost does not provide" ordinals --quiet --formula '=Pen()'

# An add-in written without __stdcall: on 32-bit Windows a fault that xllhost survives, names with its cell, and still shows the answer of.
if [ "$pointer" = 4 ]; then
  session 1 "Excel will not find xlAutoOpen: the add-in exports it only as xlAutoOpen@0" decorated --quiet --scenario cluster
  session 1 "Excel will not find SetExcel12EntryPt: the add-in exports it only as SetExcel12EntryPt@4" decorated --quiet --scenario cluster
  session 1 "cell A1 =Add\(1,2\) does not use __stdcall: it left the 16 bytes of arguments on the stack" cdecl --quiet --formula '=Add(1,2)'
  session 1 "cell A1 =Halve\(1,2\) removed 16 bytes of arguments from the stack where its type text \"JJJ\" passes 8 bytes" cdecl --quiet --formula '=Halve(1,2)'
  session 1 "xlAddInManagerInfo12 does not use __stdcall" cdecl --quiet --formula '=Add(1,2)'
  session 1 "cell A1 =Add\(1,2\) shows 3" cdecl --formula '=Add(1,2)'
else
  session 0 "" cdecl --quiet --expect '=Add(1,2)' 3 --expect-title Cdecl --formula '=Halve(1,2)'
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
