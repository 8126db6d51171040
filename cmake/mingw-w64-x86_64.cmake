# Cross-build of the Windows program with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix). The
# posix-threads variant carries the OpenMP runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DRIVES_TESK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DRIVES_TESK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRIVES_TESK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${DRIVES_TESK_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DRIVES_TESK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A self-contained .exe: the C++ run-time, winpthreads and the OpenMP runtime are linked in, so it
# imports only Windows' own DLLs. FindOpenMP would pick libgomp's import library; point it at the
# static archive instead.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgomp.a
                OUTPUT_VARIABLE DRIVES_TESK_STATIC_GOMP OUTPUT_STRIP_TRAILING_WHITESPACE)
set(OpenMP_gomp_LIBRARY ${DRIVES_TESK_STATIC_GOMP} CACHE FILEPATH "OpenMP runtime, linked in")
