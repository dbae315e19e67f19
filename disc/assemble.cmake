# Lays out one demo disc folder afresh. Run by the build as
#   cmake -DDISC=1|2 -DID_PREFIX=<identification text before the number> -DDEST=<folder> -DSOURCE=<disc sources> [-DART=... -DSTART=... -DSETUP=...
#         -DRECENTFIX=... -DGAME=...] -P assemble.cmake
foreach(var DISC ID_PREFIX DEST SOURCE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "assemble.cmake needs -D${var}=")
  endif()
endforeach()

# Text files go on the disc with Windows line ends.
function(copy_text from to)
  file(READ "${from}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${to}" "${text}")
endfunction()

file(REMOVE_RECURSE "${DEST}")
set(game "${DEST}/program files/harrowlight/kelvaro")
file(MAKE_DIRECTORY "${game}")
# The menu compares these bytes exactly and reads no further: no line end.
file(WRITE "${game}/KWRFILEID" "${ID_PREFIX}${DISC}")

if(DISC EQUAL 1)
  file(COPY_FILE "${START}" "${DEST}/start.exe")
  file(COPY_FILE "${SETUP}" "${DEST}/setup.exe")
  file(COPY_FILE "${RECENTFIX}" "${DEST}/recentfix.exe")
  copy_text("${SOURCE}/autorun.inf" "${DEST}/autorun.inf")
  # One folder, Res, for the menu's "Res\back.bmp" and the disc's "res\readme.html": on the
  # case-insensitive file system of a Windows CD-ROM drive both name it.
  file(MAKE_DIRECTORY "${DEST}/Res")
  foreach(picture back exit install readme start_a start_b)
    file(COPY_FILE "${ART}/${picture}.bmp" "${DEST}/Res/${picture}.bmp")
  endforeach()
  file(COPY_FILE "${SOURCE}/readme.html" "${DEST}/Res/readme.html")
  file(COPY_FILE "${GAME}" "${game}/kelvaro.exe")
  copy_text("${SOURCE}/kelvaro.dat" "${game}/kelvaro.dat")
else()
  copy_text("${SOURCE}/disc2-readme.txt" "${DEST}/readme.txt")
endif()
