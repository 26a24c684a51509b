# Runs on the build machine. Builds the pure code natively under sanitizers, cross-builds the
# Windows program (and a 64-bit twin where 32-bit Wine cannot run), and registers every test.
include(ExternalProject)

# Which Windows build the Wine tests run. 32-bit Wine needs a kernel that runs 32-bit Linux
# programs; some kernels have that switched off (dmesg: "32-bit emulation disabled"). Then the
# same sources are tested as a 64-bit build under 64-bit Wine.
set(ZORVIK_TEST_ARCH "auto" CACHE STRING "Windows build the Wine tests run: auto, i686 or x86_64")
set(ZORVIK_RUNTIME_ARCH ${ZORVIK_TEST_ARCH})
if(ZORVIK_RUNTIME_ARCH STREQUAL "auto")
  execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE wine32_result
                  OUTPUT_QUIET ERROR_QUIET TIMEOUT 20)
  if(wine32_result EQUAL 0)
    set(ZORVIK_RUNTIME_ARCH i686)
  else()
    set(ZORVIK_RUNTIME_ARCH x86_64)
  endif()
endif()
message(STATUS "Wine tests run the ${ZORVIK_RUNTIME_ARCH} build")

function(zorvik_windows_build name toolchain)
  ExternalProject_Add(${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${toolchain}
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
               -DZORVIK_BUILD_TESTS=${ZORVIK_BUILD_TESTS}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
endfunction()

zorvik_windows_build(win32 toolchain-i686-mingw.cmake)
set(ZORVIK_EXE ${CMAKE_BINARY_DIR}/zorvik.exe)
add_custom_target(zorvik_exe ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/win32/zorvik.exe ${ZORVIK_EXE}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/win32/zorvik.exe.debug ${ZORVIK_EXE}.debug
  DEPENDS win32
  COMMENT "build/zorvik.exe")

if(ZORVIK_RUNTIME_ARCH STREQUAL "i686")
  set(ZORVIK_RUNTIME_DIR ${CMAKE_BINARY_DIR}/win32)
else()
  zorvik_windows_build(win64 toolchain-x86_64-mingw.cmake)
  set(ZORVIK_RUNTIME_DIR ${CMAKE_BINARY_DIR}/win64)
endif()

# What tools/run-zorvik.sh and the benchmarks need to know about this build.
if(ZORVIK_RUNTIME_ARCH STREQUAL "i686")
  set(ZORVIK_RUNTIME_EXE ${ZORVIK_EXE})
else()
  set(ZORVIK_RUNTIME_EXE ${ZORVIK_RUNTIME_DIR}/zorvik.exe)
endif()
file(WRITE ${CMAKE_BINARY_DIR}/runtime.env
"ZORVIK_RUNTIME_ARCH=${ZORVIK_RUNTIME_ARCH}
ZORVIK_RUNTIME_DIR=${ZORVIK_RUNTIME_DIR}
ZORVIK_RUNTIME_EXE=${ZORVIK_RUNTIME_EXE}
ZORVIK_PROBE=${ZORVIK_RUNTIME_DIR}/tests/e2e/probe/zprobe.exe
")

if(ZORVIK_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()

