# Lays out one demo disc folder, or the demo game's files, afresh. Run by the build as
#   cmake -DDISC=game -DDEST=<folder> -DSOURCE=<disc sources> -DGAME=<kelvaro.exe> -P assemble.cmake
#   cmake -DDISC=1|2 -DID_PREFIX=<identification text before the number> -DDEST=<folder> -DSOURCE=<disc sources> [-DART=... -DSTART=... -DSETUP=...
#         -DRECENTFIX=... -DGAME_DIR=<the game's files>] -P assemble.cmake
set(needed DISC DEST SOURCE)
if(NOT DISC STREQUAL game)
  list(APPEND needed ID_PREFIX)
endif()
foreach(var ${needed})
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
# The game as the installer carries it and disc 1 holds it.
if(DISC STREQUAL game)
  file(MAKE_DIRECTORY "${DEST}")
  file(COPY_FILE "${GAME}" "${DEST}/kelvaro.exe")
  copy_text("${SOURCE}/kelvaro.dat" "${DEST}/kelvaro.dat")
  return()
endif()

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
  foreach(name kelvaro.exe kelvaro.dat)
    file(COPY_FILE "${GAME_DIR}/${name}" "${game}/${name}")
  endforeach()
else()
  copy_text("${SOURCE}/disc2-readme.txt" "${DEST}/readme.txt")
endif()

# The images' Rock Ridge entries carry each file's mode, which a copy takes from its source and
# a new file from the umask: the same modes in every build, programs alone executable.
file(GLOB_RECURSE laid_out "${DEST}/*")
foreach(file IN LISTS laid_out)
  if(file MATCHES "\\.exe$")
    file(CHMOD "${file}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                     WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD "${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
