@echo off
rem Runs the Windows test programs that lie beside this file, each once and without CTest: those
rem that windows-tests.txt beside it names (the build writes that list). Each writes its gtest
rem report (XML) to the report folder, and the tests it ran and skipped are counted from that.
rem A program fails when it ends with any code but 0 (a crash ends with a negative status,
rem 0xC0000005 is -1073741819), writes no report, runs no test, skips one, or is still running
rem after its time limit: then it is ended and named as hung, and the next one runs. Exit code 1
rem when any of them failed.
rem   windows-tests.cmd path\to\sevrane.exe report-folder [seconds for each program, 600]
setlocal
if "%~1"=="--one" goto One
if "%~2"=="" (
  echo usage: windows-tests.cmd path\to\sevrane.exe report-folder [seconds for each program]
  exit /b 2
)
set "self=%~f0"
set "tests=%~dp0"
set "sevrane=%~f1"
set "sevraneName=%~nx1"
set "reports=%~f2"
set limit=600
if not "%~3"=="" set /a limit=%~3
if not exist "%tests%windows-tests.txt" (
  echo windows-tests: FAILED, there is no windows-tests.txt in %tests%
  exit /b 1
)
if not exist "%reports%" mkdir "%reports%"
set failed=0
set ran=0
rem A line: the file, its folder in the build, and for a program its report's name, then
rem "sevrane" if it tests the given exe ("-" if not), then its arguments. A file without a report
rem is one the programs load.
for /f "usebackq eol=# tokens=1,3,4*" %%a in ("%tests%windows-tests.txt") do (
  set "arguments=%%d"
  if not "%%b"=="" call :Run %%a %%b %%c
)
if %ran%==0 (
  echo windows-tests: FAILED, windows-tests.txt names no program
  exit /b 1
)
if %failed%==1 echo windows-tests: FAILED, see the reports in %reports%
if %failed%==0 echo windows-tests: every test program passed
exit /b %failed%

rem Runs one program: %1 its file, %2 its report's name, %3 "sevrane" or "-"; its arguments are
rem in %arguments%. "start" gives neither the exit code nor the process id: a cmd of its own (this
rem file again, with --one) runs the program and writes its exit code to a file, and this one
rem waits for that file.
:Run
set /a ran+=1
set "name=%2 [%1]"
set "report=%reports%\%2.xml"
set "ended=%reports%\%2.exitcode"
if exist "%report%" del "%report%"
if exist "%ended%" del "%ended%"
set "given="
if "%3"=="sevrane" set given=--sevrane="%sevrane%"
set program="%tests%%1" %given% %arguments% --gtest_output=xml:"%report%"
start "" /b cmd /d /s /c ""%self%" --one"
set waited=0
:Wait
if exist "%ended%" goto Ended
if %waited% geq %limit% goto Hung
rem About a second. timeout.exe refuses to run when its input is redirected, as a CI step's is.
ping -n 2 127.0.0.1 >nul
set /a waited+=1
goto Wait

rem By its image name: there is no process id to be had, and the programs run one at a time. /t
rem ends the sevrane.exe it started too; Wine's taskkill has no /t. Its cmd then writes the code,
rem which is waited for.
:Hung
echo windows-tests: %name% FAILED, hung: still running after %limit% s, ended
set failed=1
taskkill /f /t /im "%1" >nul 2>&1 || taskkill /f /im "%1" >nul 2>&1
if "%3"=="sevrane" taskkill /f /im "%sevraneName%" >nul 2>&1
for /l %%s in (1,1,10) do if not exist "%ended%" ping -n 2 127.0.0.1 >nul
if exist "%ended%" del "%ended%"
exit /b 0

:Ended
set /p code=<"%ended%"
del "%ended%"
if not "%code%"=="0" (
  echo windows-tests: %name% FAILED, exit code %code%
  set failed=1
  exit /b 0
)
if not exist "%report%" (
  echo windows-tests: %name% FAILED, it ended without writing its report
  set failed=1
  exit /b 0
)
set run=0
set skipped=0
for /f "delims=" %%l in ('find "result=""completed""" ^< "%report%"') do set /a run+=1
for /f "delims=" %%l in ('find "result=""skipped""" ^< "%report%"') do set /a skipped+=1
echo windows-tests: %name%: tests run %run%, skipped %skipped%
if %run%==0 (
  echo windows-tests: %name% FAILED, it ran no test
  set failed=1
)
if not %skipped%==0 (
  echo windows-tests: %name% FAILED, a skipped test checked nothing
  set failed=1
)
exit /b 0

rem The cmd of one program (see Run): its exit code goes to a file that appears whole.
:One
%program%
>"%ended%.new" echo %errorlevel%
move /y "%ended%.new" "%ended%" >nul
exit /b 0
