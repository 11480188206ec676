@echo off
rem Runs the Windows test programs that lie beside this file, each once and without CTest: the
rem unit tests, the tests of the Win32 layer, and the end-to-end tests of the given sevrane.exe.
rem Each writes its gtest report (XML) to the report folder. Exit code 1 when any of them failed.
rem   windows-tests.cmd path\to\sevrane.exe report-folder
setlocal
if "%~2"=="" (
  echo usage: windows-tests.cmd path\to\sevrane.exe report-folder
  exit /b 2
)
set "tests=%~dp0"
set "reports=%~f2"
if not exist "%reports%" mkdir "%reports%"
rem "if errorlevel" after each program, not "||": Wine's cmd runs what follows "||" either way.
set failed=0
"%tests%sevrane_unit_tests.exe" --gtest_output=xml:"%reports%\unit.xml"
if errorlevel 1 set failed=1
"%tests%sevrane_list_file_tests.exe" --gtest_output=xml:"%reports%\list_file.xml"
if errorlevel 1 set failed=1
"%tests%sevrane_item_width_tests.exe" --gtest_output=xml:"%reports%\item_width.xml"
if errorlevel 1 set failed=1
"%tests%sevrane_e2e_tests.exe" --sevrane="%~f1" --gtest_output=xml:"%reports%\e2e.xml"
if errorlevel 1 set failed=1
if %failed%==1 echo windows-tests: FAILED, see the reports in %reports%
if %failed%==0 echo windows-tests: every test program passed
exit /b %failed%
