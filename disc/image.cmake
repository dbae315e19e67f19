# Writes one disc image, ISO 9660 with Joliet and Rock Ridge names, dated by the release's date.
#   cmake -DXORRISO=<xorriso> -DIMAGE=<.iso> -DFOLDER=<disc folder> -DLABEL=<volume label>
#         -DTITLE=<application text> -DEPOCH_FILE=<file with the date in seconds> -P image.cmake
foreach(var XORRISO IMAGE FOLDER LABEL TITLE EPOCH_FILE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "image.cmake needs -D${var}=")
  endif()
endforeach()

file(STRINGS "${EPOCH_FILE}" epoch LIMIT_COUNT 1)
# The volume's creation and modification dates and every file's and folder's dates (ISO 9660,
# Joliet and Rock Ridge alike) are the release's, whatever the laid-out files' times on disk,
# so the image depends on the sources alone. string(TIMESTAMP) reads SOURCE_DATE_EPOCH, and
# xorriso takes it for the dates that no option names.
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
string(TIMESTAMP date "%Y%m%d%H%M%S00" UTC)

file(REMOVE "${IMAGE}")
# Joliet volume labels hold 16 characters at most.
execute_process(
  COMMAND "${XORRISO}" -as mkisofs -quiet -o "${IMAGE}" -V "${LABEL}" -J -r
          -publisher Harrowlight -A "${TITLE}" --modification-date=${date}
          --set_all_file_dates ${date} "${FOLDER}"
  RESULT_VARIABLE failed
  OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed)
  file(REMOVE "${IMAGE}")
  message(FATAL_ERROR "xorriso could not write ${IMAGE}:\n${output}")
endif()
