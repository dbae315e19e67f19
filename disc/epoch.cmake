# Writes the release's date, in seconds since 1970, to OUT, touching OUT only when it changes:
# $SOURCE_DATE_EPOCH when set, else the date of the last commit, else a fixed date outside git.
#   cmake -DSOURCE=<source tree> -DOUT=<file> -P epoch.cmake
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch MATCHES "^[0-9]+$")
  execute_process(COMMAND git -C "${SOURCE}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                  RESULT_VARIABLE failed)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    # 2000-01-01 00:00:00 UTC: any fixed date will do, so long as every build agrees on it.
    set(epoch 946684800)
  endif()
endif()
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
  if(old STREQUAL "${epoch}\n")
    return()
  endif()
endif()
file(WRITE "${OUT}" "${epoch}\n")
