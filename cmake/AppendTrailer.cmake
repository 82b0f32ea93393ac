# Appends the launch trailer to a freshly linked exe: plain bytes after the last
# section, no terminator, no length. Usage: cmake -DEXE=... -DTRAILER=... -P AppendTrailer.cmake
if(NOT EXE OR NOT DEFINED TRAILER)
  message(FATAL_ERROR "AppendTrailer: EXE and TRAILER are required")
endif()
string(LENGTH "${TRAILER}" len)
if(len GREATER 255)
  message(FATAL_ERROR "AppendTrailer: the trailer holds at most 255 bytes, got ${len}")
endif()
file(APPEND "${EXE}" "${TRAILER}")
