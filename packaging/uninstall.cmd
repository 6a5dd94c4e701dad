@echo off
rem Uninstalls the Tavik Add-In for the current user: see install.cmd.
call "%~dp0install.cmd" /uninstall
exit /b %errorlevel%
