@echo off
rem Installs the Tavik Add-In for the current user: runs QuorrelSetup.exe from
rem this folder, which README.txt describes. Arguments go to it: 32 or 64
rem names Excel's width.
setlocal EnableExtensions DisableDelayedExpansion
"%~dp0QuorrelSetup.exe" install %*
set "STATUS=%ERRORLEVEL%"
call :KeepOpenIfDoubleClicked "%~nx0"
exit /b %STATUS%

:KeepOpenIfDoubleClicked name
rem Explorer runs a double-clicked script as cmd /c ""<path>" ": its window
rem closes when the script ends, before the user could read it.
setlocal EnableDelayedExpansion
if defined CMDCMDLINE if /I "!CMDCMDLINE:%~1=!" neq "!CMDCMDLINE!" pause
exit /b 0
