# Writes the source of the build stamp that the version line ends with: the date and time of
# this link in local time, or SOURCE_DATE_EPOCH in UTC when it is set (as GCC's __DATE__ and
# __TIME__ would give them), in the form "Mmm dd yyyy hh:mm:ss" with the day padded by a space.
#   cmake -DSTAMP_SOURCE=path/build_stamp.cpp -P build_stamp.cmake
if(NOT STAMP_SOURCE)
  message(FATAL_ERROR "build_stamp.cmake: STAMP_SOURCE is not set")
endif()

# string(TIMESTAMP) itself takes SOURCE_DATE_EPOCH instead of the clock when it is set.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP now "%m|%d|%Y|%H:%M:%S" UTC)
else()
  string(TIMESTAMP now "%m|%d|%Y|%H:%M:%S")
endif()
string(REPLACE "|" ";" parts "${now}")
list(GET parts 0 month)
list(GET parts 1 day)
list(GET parts 2 year)
list(GET parts 3 time)

# English month names whatever the build machine's locale.
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR monthIndex "${month} - 1")
list(GET months ${monthIndex} monthName)
string(REGEX REPLACE "^0" " " day "${day}")

file(WRITE "${STAMP_SOURCE}" "// Written before every link of sevrane.exe by cmake/build_stamp.cmake.
#include \"app/version.h\"

namespace sevrane {

const char kVersionLine[] = SEVRANE_VERSION_LINE(\"${monthName} ${day} ${year} ${time}\");

} // namespace sevrane
")
