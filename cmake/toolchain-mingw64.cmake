# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads
# model, which std::thread, std::recursive_mutex and thread_local need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMISK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMISK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMISK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMISK_MINGW_TRIPLE}-windres)

# LUMISK_MINGW_DEPS: install prefixes of libraries built for this target
# (glbinding, GoogleTest); packages are looked up only there and in mingw's own.
set(CMAKE_FIND_ROOT_PATH /usr/${LUMISK_MINGW_TRIPLE} ${LUMISK_MINGW_DEPS})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUMISK_MINGW_DEPS)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives only (zlib ships an import library beside its archive).
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# mingw's <cmath> gives M_PI and its kin only on request (glibc always does);
# <windows.h> without its rarely used parts and without min/max macros, which
# would break std::min and std::max wherever it is included.
set(CMAKE_CXX_FLAGS_INIT "-D_USE_MATH_DEFINES -DWIN32_LEAN_AND_MEAN -DNOMINMAX")
set(CMAKE_C_FLAGS_INIT "-D_USE_MATH_DEFINES -DWIN32_LEAN_AND_MEAN -DNOMINMAX")

# Programs and the module carry the C++ runtime and winpthreads inside, so
# they need no runtime DLLs beside them (a host loads the module from its own
# folder, where no libstdc++ DLL lies).
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# Test executables built here run under Wine, through a launcher that tries
# again only a Wine start that died before the program printed anything.
get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR
                       "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ABSOLUTE)
# List the tests when ctest runs, inside the Wine session, not at build time.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
