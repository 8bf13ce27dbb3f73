# Writes SHA256SUMS for the files named, in the form `sha256sum -c` reads.
# Usage: cmake -DDIR=folder -DFILES="a,b" -P write_sha256sums.cmake
string(REPLACE "," ";" names "${FILES}")
set(lines "")
foreach(name IN LISTS names)
  file(SHA256 "${DIR}/${name}" hash)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE "${DIR}/SHA256SUMS" "${lines}")
