# Cross-compiling for 32-bit Windows; ctest runs every test executable
# through Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
