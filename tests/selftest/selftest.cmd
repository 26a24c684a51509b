@echo off
rem K-VEX @VERSION@ self-test: runs the test programs beside this file on this Windows and writes
rem selftest-report.txt beside it. README.txt says what it does to the desktop.
rem   selftest.cmd        leaves the desktop as it found it
rem   selftest.cmd /all   also runs the tests that change the clipboard, the keyboard state or
rem                       every window's caption for a moment
rem Exits with 1 when a test failed.
setlocal EnableExtensions
set "kit=%~dp0"
cd /d "%kit%"
set "ZORVIK_DESKTOP=keep"
set "mode=default run: the tests that change the desktop are skipped (selftest.cmd /all runs them)"
if /i "%~1"=="/all" (
  set "ZORVIK_DESKTOP=change"
  set "mode=selftest.cmd /all: the tests that change the desktop ran too"
)
set "report=%kit%selftest-report.txt"
set "output=%TEMP%\zorvik-selftest-%RANDOM%.txt"
set /a passed=0
set /a failed=0
set /a skipped=0

echo K-VEX self-test: %report%
> "%report%" echo K-VEX @VERSION@ self-test, commit @COMMIT@
>> "%report%" echo %mode%
>> "%report%" echo.
"%kit%system_facts.exe" >> "%report%" 2>&1
if errorlevel 1 (
  >> "%report%" echo system_facts.exe failed
  set /a failed+=1
)

for %%p in (platform render settings soak startup window) do call :run %%p
del "%output%" 2>nul
rem planted.dll marks where it was loaded: only before the search for DLLs is restricted.
del planted.dll.loaded 2>nul

>> "%report%" echo.
>> "%report%" echo %passed% passed, %failed% failed, %skipped% skipped
echo %passed% passed, %failed% failed, %skipped% skipped
if %failed% gtr 0 exit /b 1
exit /b 0

rem One test program: its output into the report, its last line ("Tests: N passed, M failed,
rem K skipped") into the counts. A program that ends without that line, or with an exit code
rem that its count does not explain, counts as one failure more.
:run
echo   %1_tests.exe
>> "%report%" echo.
>> "%report%" echo ==== %1_tests.exe ====
set "counted="
set /a programFailed=0
"%kit%%1_tests.exe" > "%output%" 2>&1
set "code=%errorlevel%"
type "%output%" >> "%report%"
for /f "usebackq tokens=1-7 delims=, " %%a in ("%output%") do if "%%a"=="Tests:" call :count %%b %%d %%f
if not defined counted (
  >> "%report%" echo %1_tests.exe ended with exit code %code% before it counted its tests
  set /a failed+=1
  goto :eof
)
if not "%code%"=="0" if %programFailed%==0 (
  >> "%report%" echo %1_tests.exe ended with exit code %code%
  set /a failed+=1
)
goto :eof

:count
set /a passed+=%1
set /a failed+=%2
set /a skipped+=%3
set /a programFailed=%2
set "counted=1"
goto :eof
