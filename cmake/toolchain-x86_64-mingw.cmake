# Cross-compiling for 64-bit Windows; ctest runs every test executable through
# the 64-bit Wine loader itself: "wine" would start the 32-bit loader first,
# which is emulated where the kernel cannot run 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
