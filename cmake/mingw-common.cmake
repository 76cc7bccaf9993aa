# Shared by the mingw-w64 toolchain files, after they set TOOLCHAIN_PREFIX, CMAKE_SYSTEM_PROCESSOR
# and NW_WINE_LOADER. The posix-thread compilers; everything linked statically so the programs run
# from a bare folder (no libgcc/libstdc++/libwinpthread DLLs beside them).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run through Wine's loader for this architecture, called by its full path: the
# `wine` command picks the 32-bit loader whenever it is installed, even where the host cannot run
# it, through scripts/wine-launch.sh, which starts again a program whose Windows process never
# started. scripts/wine-env.sh prepares the matching prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-launch.sh ${NW_WINE_LOADER})
