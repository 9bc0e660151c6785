# cmake -DOUT=SUMS -DSETUP=FILE -DZIP=FILE -P Checksums.cmake
# Writes SUMS in the form of sha256sum, so that "sha256sum -c SUMS" checks
# the files in the folder beside it.
set(_text "")
foreach(_file ${SETUP} ${ZIP})
  file(SHA256 ${_file} _hash)
  get_filename_component(_name ${_file} NAME)
  string(APPEND _text "${_hash}  ${_name}\n")
endforeach()
file(WRITE ${OUT} "${_text}")
