# Cross-compiles for 64-bit Windows with Debian's mingw-w64 toolchain.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DKADRILO_DEPS_PREFIX=$(scripts/build-deps | tail -n1) ...
#
# KADRILO_DEPS_PREFIX (cache variable or environment variable) names an extra
# find root holding the cross-built libjpeg-turbo and libpng.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(_kadrilo_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_kadrilo_triplet}-gcc)
set(CMAKE_CXX_COMPILER ${_kadrilo_triplet}-g++)
set(CMAKE_RC_COMPILER ${_kadrilo_triplet}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

if(NOT KADRILO_DEPS_PREFIX AND DEFINED ENV{KADRILO_DEPS_PREFIX})
  set(KADRILO_DEPS_PREFIX "$ENV{KADRILO_DEPS_PREFIX}")
endif()
# try_compile() projects read this file again; hand the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KADRILO_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_kadrilo_triplet})
if(KADRILO_DEPS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${KADRILO_DEPS_PREFIX}")
endif()

# Host tools (nasm, awk, ...) from the build machine; headers, libraries and
# packages only from the find roots.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
