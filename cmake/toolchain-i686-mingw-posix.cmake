# The 32-bit test programs: the same compiler with the posix thread model, whose std::mutex
# GoogleTest needs. The shipped program is built without it (toolchain-i686-mingw.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686-mingw.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
