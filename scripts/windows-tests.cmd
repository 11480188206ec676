@echo off
rem Runs the Windows test programs that lie beside this file, each once and without CTest: those
rem that windows-tests.txt beside it names (the build writes that list). Each writes its gtest
rem report (XML) to the report folder. Exit code 1 when any of them failed: ended with any code but
rem 0 (a crash ends with a negative status, 0xC0000005 is -1073741819) or wrote no report.
rem   windows-tests.cmd path\to\sevrane.exe report-folder
setlocal
if "%~2"=="" (
  echo usage: windows-tests.cmd path\to\sevrane.exe report-folder
  exit /b 2
)
set "tests=%~dp0"
set "sevrane=%~f1"
set "reports=%~f2"
if not exist "%tests%windows-tests.txt" (
  echo windows-tests: FAILED, there is no windows-tests.txt in %tests%
  exit /b 1
)
if not exist "%reports%" mkdir "%reports%"
set failed=0
set ran=0
rem A line: the file, its folder in the build, and for a program its report's name, then
rem "sevrane" if it tests the given exe. A file without a report is one the programs load.
for /f "usebackq eol=# tokens=1,3,4" %%a in ("%tests%windows-tests.txt") do (
  if not "%%b"=="" call :Run %%a %%b %%c
)
if %ran%==0 (
  echo windows-tests: FAILED, windows-tests.txt names no program
  exit /b 1
)
if %failed%==1 echo windows-tests: FAILED, see the reports in %reports%
if %failed%==0 echo windows-tests: every test program passed
exit /b %failed%

rem Runs one program: %1 its file, %2 its report's name, %3 "sevrane" or nothing. The exit code is
rem read here, not after "call" returns: Wine's call turns every non-zero errorlevel into 1.
:Run
set /a ran+=1
set "report=%reports%\%2.xml"
if exist "%report%" del "%report%"
set "given="
if "%3"=="sevrane" set given=--sevrane="%sevrane%"
"%tests%%1" %given% --gtest_output=xml:"%report%"
set code=%errorlevel%
if not "%code%"=="0" (
  echo windows-tests: %1 FAILED, exit code %code%
  set failed=1
  exit /b 0
)
if not exist "%report%" (
  echo windows-tests: %1 FAILED, it ended without writing its report
  set failed=1
)
exit /b 0
