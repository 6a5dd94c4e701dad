@echo off
rem Installs the Tavik Add-In for the current user, without administrator
rem rights: copies the build that suits the installed Excel to
rem %APPDATA%\Microsoft\AddIns\Quorrel.xll and adds it to the add-ins Excel
rem opens at start-up. Running it again adds nothing.
rem
rem   install.cmd            finds the width of the installed Excel
rem   install.cmd 32 or 64   names it
rem   install.cmd /uninstall what uninstall.cmd runs
rem
rem Excel opens at start-up the add-ins listed in the string values OPEN,
rem OPEN1, OPEN2, ... of HKCU\Software\Microsoft\Office\<version>\Excel\Options,
rem each holding "/R" and the quoted path for an XLL. Excel rewrites that list
rem when it exits, so nothing here runs while Excel does.
rem
rem Delayed expansion stays off wherever another add-in's entry is read, so a
rem "!" in its path survives. An entry does pass through CALL, which would
rem change a "%" or "^" in it; such paths are rare enough to leave that be.
setlocal EnableExtensions DisableDelayedExpansion
set "ME=install"
if /I "%~1"=="/uninstall" set "ME=uninstall"
set "HERE=%~dp0"
if not defined APPDATA (
  echo %ME%: APPDATA is not set, so the add-ins folder of this user is unknown.
  exit /b 1
)
set "ADDINS=%APPDATA%\Microsoft\AddIns"
set "TARGET=%ADDINS%\Quorrel.xll"
set "OFFICE=HKCU\Software\Microsoft\Office"

call :ExcelRunning
if not errorlevel 1 (
  echo %ME%: Excel is running. Close every Excel window and run %ME%.cmd again:
  echo %ME%: Excel rewrites its list of start-up add-ins when it exits.
  exit /b 1
)
rem 16.0 is Excel 2016 and every later Excel, 365 included; older versions
rem count only when their key is there.
set "VERSIONS="
for %%v in (12.0 14.0 15.0) do call :KeepVersionIfPresent %%v
set "VERSIONS=%VERSIONS% 16.0"
if "%ME%"=="uninstall" goto Uninstall

rem --- install --------------------------------------------------------------
set "WIDTH="
if "%~1"=="32" (set "WIDTH=32" & set "WHY=as asked")
if "%~1"=="64" (set "WIDTH=64" & set "WHY=as asked")
if not "%~1"=="" if not defined WIDTH (
  echo install: unknown argument "%~1": give 32 or 64, or nothing.
  exit /b 1
)
if not defined WIDTH call :FindWidth
if not defined WIDTH (
  echo install: cannot tell whether Excel is 32-bit or 64-bit. File ^> Account ^> About Excel says;
  echo install: then run "install.cmd 32" or "install.cmd 64".
  exit /b 1
)
set "SOURCE=%HERE%Quorrel%WIDTH%.xll"
if not exist "%SOURCE%" (
  echo install: "%SOURCE%" is missing: extract the whole zip and run install.cmd from there.
  exit /b 1
)
echo install: Excel is %WIDTH%-bit ^(%WHY%^), so Quorrel%WIDTH%.xll suits it.
if not exist "%ADDINS%\" mkdir "%ADDINS%" 2>nul
copy /b /y "%SOURCE%" "%TARGET%" >nul 2>&1
if errorlevel 1 (
  echo install: cannot copy Quorrel%WIDTH%.xll to "%TARGET%"; nothing else was changed.
  exit /b 1
)
echo install: copied it to "%TARGET%".
rem A copy keeps the mark of a download, and Excel refuses an XLL that carries it.
set "QUORREL_TARGET=%TARGET%"
powershell -NoProfile -NonInteractive -Command "Unblock-File -LiteralPath $env:QUORREL_TARGET" >nul 2>&1
if errorlevel 1 (
  echo install: could not remove the mark of a download ^(no PowerShell^). If Excel blocks
  echo install: the add-in, right-click the file, choose Properties and tick Unblock.
) else (
  echo install: removed the mark of a download from it, if it had one.
)
set "ADDED="
for %%v in (%VERSIONS%) do call :AddEntry %%v
if defined FAILED (
  for %%e in (%ADDED%) do call :TakeBack %%e
  echo install: cannot write to "%OFFICE%\%FAILED%\Excel\Options"; the registry is as it was.
  exit /b 1
)
echo install: done. Start Excel and type =TavikFnc^(^) in a cell: it shows Tavik World.
exit /b 0

rem --- uninstall ------------------------------------------------------------
:Uninstall
set "REMOVED="
for %%v in (%VERSIONS%) do call :RemoveEntries %%v
if defined FAILED exit /b 1
if exist "%TARGET%" (
  del /f "%TARGET%" >nul 2>&1
  if exist "%TARGET%" (
    echo uninstall: cannot delete "%TARGET%".
    exit /b 1
  )
  echo uninstall: deleted "%TARGET%".
  set "REMOVED=1"
)
if defined REMOVED (echo uninstall: done.) else (echo uninstall: the add-in was not installed; nothing to do.)
exit /b 0

rem --- subroutines ----------------------------------------------------------
:ExcelRunning
rem errorlevel 0 when a process named EXCEL.EXE runs. tasklist answers on
rem Windows; where it lists nothing (Wine's is a stub), WMI is asked as well.
for /f "tokens=1" %%p in ('tasklist /FI "IMAGENAME eq EXCEL.EXE" /NH 2^>nul') do if /I "%%p"=="EXCEL.EXE" exit /b 0
for /f "skip=1 tokens=1" %%p in ('wmic process get name 2^>nul') do if /I "%%p"=="EXCEL.EXE" exit /b 0
exit /b 1

:KeepVersionIfPresent
reg query "%OFFICE%\%1" >nul 2>&1
if not errorlevel 1 set "VERSIONS=%VERSIONS% %1"
exit /b 0

:FindWidth
rem Click-to-Run installs (every Microsoft 365 Excel) name their platform in
rem Configuration\Platform; MSI installs name it in Outlook\Bitness of their
rem version. Both are read from the 64-bit and the 32-bit view of HKLM.
rem 64-bit Office does not install on 32-bit Windows.
for %%r in (/reg:64 /reg:32) do call :FindWidthIn %%r
if not defined WIDTH if /I "%PROCESSOR_ARCHITECTURE%"=="x86" if not defined PROCESSOR_ARCHITEW6432 (
  set "WIDTH=32" & set "WHY=Windows is 32-bit"
)
if defined WIDTH exit /b 0
set "ANSWER="
set /p "ANSWER=Is your Excel 32-bit or 64-bit (File > Account > About Excel)? Type 32 or 64: "
if "%ANSWER%"=="32" (set "WIDTH=32" & set "WHY=as you said")
if "%ANSWER%"=="64" (set "WIDTH=64" & set "WHY=as you said")
exit /b 0

:FindWidthIn view
if not defined WIDTH call :ReadWidth "HKLM\SOFTWARE\Microsoft\Office\ClickToRun\Configuration" Platform %1 "Click-to-Run Platform"
for %%v in (16.0 15.0 14.0) do if not defined WIDTH call :ReadWidth "HKLM\SOFTWARE\Microsoft\Office\%%v\Outlook" Bitness %1 "Office %%v Bitness"
exit /b 0

:ReadWidth key value view why
for /f "tokens=1,2,*" %%a in ('reg query %1 /v %2 %3 2^>nul') do (
  if /I "%%a"=="%2" if /I "%%c"=="x86" (set "WIDTH=32" & set "WHY=%~4 x86")
  if /I "%%a"=="%2" if /I "%%c"=="x64" (set "WIDTH=64" & set "WHY=%~4 x64")
)
exit /b 0

:Scan key
rem Notes which OPEN values a key holds (E_OPEN, E_OPEN1, ...); OURS is the
rem index of this add-in's entry and FREE the first index without a value.
for /f "delims==" %%x in ('set E_ 2^>nul') do set "%%x="
set "OURS_NAME="
for /f "tokens=1,2,*" %%a in ('reg query "%~1" 2^>nul') do if "%%b"=="REG_SZ" call :Look %%a %%c
set "OURS="
set "FREE="
for /l %%n in (0,1,99) do call :ScanOne %%n
exit /b 0

:Look name part [part]
rem An entry comes as its parts: "/R" and the quoted path, the quoted path, or
rem the file name alone, which Excel finds in the add-ins folder. CALL splits
rem them as cmd splits arguments, keeping a quoted path whole.
set "E_%1=1"
if defined OURS_NAME exit /b 0
set "P=%~2"
if /I "%~2"=="/R" set "P=%~3"
if /I "%P%"=="%TARGET%" set "OURS_NAME=%1"
if /I "%P%"=="Quorrel.xll" set "OURS_NAME=%1"
exit /b 0

:ScanOne n
call :Name %1
if /I "%NAME%"=="%OURS_NAME%" set "OURS=%1"
if not defined E_%NAME% if not defined FREE set "FREE=%1"
exit /b 0

:Name n
if "%1"=="0" (set "NAME=OPEN") else set "NAME=OPEN%1"
exit /b 0

:AddEntry version
if defined FAILED exit /b 0
set "KEY=%OFFICE%\%1\Excel\Options"
call :Scan "%KEY%"
if not defined OURS goto AddNew
call :Name %OURS%
echo install: Excel %1 already opens it at start-up (%NAME%).
exit /b 0
:AddNew
if not defined FREE set "FAILED=%1"
if not defined FREE exit /b 0
call :Name %FREE%
rem Expanded late, so an "&" or ")" in the path reaches reg as it is.
setlocal EnableDelayedExpansion
reg add "%KEY%" /v %NAME% /t REG_SZ /d "/R \"!TARGET!\"" /f >nul 2>&1
endlocal & if errorlevel 1 (
  set "FAILED=%1"
  exit /b 0
)
set "ADDED=%ADDED% %1:%NAME%"
echo install: Excel %1 opens it at start-up ^(%NAME%^).
exit /b 0

:TakeBack version:name
for /f "tokens=1,2 delims=:" %%a in ("%1") do reg delete "%OFFICE%\%%a\Excel\Options" /v %%b /f >nul 2>&1
exit /b 0

:RemoveEntries version
rem Takes this add-in's entry out and moves each entry after it down by one,
rem so Excel, which stops at the first missing OPEN value, still finds them.
rem On a failure the key's saved copy is imported back.
if defined FAILED exit /b 0
set "KEY=%OFFICE%\%1\Excel\Options"
call :Scan "%KEY%"
if not defined OURS exit /b 0
set "BACKUP=%TEMP%\Quorrel-Options-%1.reg"
reg export "%KEY%" "%BACKUP%" /y >nul 2>&1
if errorlevel 1 (
  echo uninstall: cannot save a copy of "%KEY%"; it was left as it was.
  set "FAILED=%1"
  exit /b 0
)
set /a "AT=OURS"
:RemoveNext
set /a "NEXT=AT+1"
call :Name %NEXT%
if not defined E_%NAME% goto RemoveLast
set "FROM=%NAME%"
call :Name %AT%
call :Move "%KEY%" %FROM% %NAME%
if errorlevel 1 goto RemoveFailed
set /a "AT=NEXT"
goto RemoveNext
:RemoveLast
call :Name %AT%
reg delete "%KEY%" /v %NAME% /f >nul 2>&1
if errorlevel 1 goto RemoveFailed
del "%BACKUP%" >nul 2>&1
call :Name %OURS%
if %AT% GTR %OURS% (
  echo uninstall: Excel %1 no longer opens it at start-up; the entries after %NAME% moved down by one.
) else (
  echo uninstall: Excel %1 no longer opens it at start-up ^(%NAME%^).
)
set "REMOVED=1"
rem A second entry for it, should one be there, goes the same way.
goto RemoveEntries

:RemoveFailed
reg import "%BACKUP%" >nul 2>&1
echo uninstall: cannot change "%KEY%"; its saved copy was put back.
set "FAILED=%1"
exit /b 0

:Move key from to
rem Writes the entry of one value under another name. reg takes \" for a
rem quote; the parts are rebuilt as they were read. An entry of another shape
rem is not moved, and the caller puts the key back as it was.
set "MOVED="
for /f "tokens=1,2,*" %%a in ('reg query %1 /v %2 2^>nul') do if "%%b"=="REG_SZ" call :Write %1 %3 %%c
if defined MOVED exit /b 0
exit /b 1

:Write key name part [part]
if not "%~5"=="" exit /b 1
if not "%~4"=="" if %3=="%~3" exit /b 1
set "PART=%~3"
set "QUOTED=%~4"
if "%~4"=="" goto WriteOnePart
setlocal EnableDelayedExpansion
reg add %1 /v %2 /t REG_SZ /d "!PART! \"!QUOTED!\"" /f >nul 2>&1
endlocal & if not errorlevel 1 set "MOVED=1"
exit /b 0
:WriteOnePart
if %3=="%~3" (
  reg add %1 /v %2 /t REG_SZ /d "\"%~3\"" /f >nul 2>&1
) else (
  reg add %1 /v %2 /t REG_SZ /d "%~3" /f >nul 2>&1
)
if not errorlevel 1 set "MOVED=1"
exit /b 0
