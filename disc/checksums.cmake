# Writes OUT, the SHA-256 of each of FILES by its name, in the format `sha256sum -c` checks.
#   cmake -DOUT=<SHA256SUMS> "-DFILES=<file>;<file>..." -P checksums.cmake
set(sums "")
foreach(file IN LISTS FILES)
  file(SHA256 "${file}" sum)
  get_filename_component(name "${file}" NAME)
  # Two spaces: a file read as text, as sha256sum itself writes it.
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE "${OUT}" "${sums}")
