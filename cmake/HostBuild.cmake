# Runs on the build machine. Builds the pure code natively under sanitizers, cross-builds the
# Windows program (and its 64-bit twin, on demand), and registers every test.
include(ExternalProject)

# How the Wine tests run the shipped 32-bit build/zorvik.exe: "i686" where the kernel runs 32-bit
# Linux programs (32-bit Wine as it is), "i686-qemu" where it does not (some kernels have IA-32
# support switched off; 32-bit Wine then runs under qemu-i386, see tools/i386-emulation.sh).
# "x86_64" runs a 64-bit twin built from the same sources under 64-bit Wine instead.
set(ZORVIK_TEST_ARCH "auto" CACHE STRING "How the Wine tests run zorvik.exe: auto, i686, i686-qemu or x86_64")
set_property(CACHE ZORVIK_TEST_ARCH PROPERTY STRINGS auto i686 i686-qemu x86_64)
execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE wine32_native
                OUTPUT_QUIET ERROR_QUIET TIMEOUT 20)
set(ZORVIK_RUNTIME_ARCH ${ZORVIK_TEST_ARCH})
if(ZORVIK_RUNTIME_ARCH STREQUAL "auto")
  if(wine32_native EQUAL 0)
    set(ZORVIK_RUNTIME_ARCH i686)
  else()
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/i386-emulation.sh --check
                    RESULT_VARIABLE wine32_emulated OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
    if(NOT wine32_emulated EQUAL 0)
      message(FATAL_ERROR "32-bit Wine runs neither natively nor under qemu-i386 "
                          "(tools/install-deps.sh installs both; ZORVIK_TEST_ARCH=x86_64 tests the 64-bit twin)")
    endif()
    set(ZORVIK_RUNTIME_ARCH i686-qemu)
  endif()
elseif(NOT ZORVIK_RUNTIME_ARCH MATCHES "^(i686|i686-qemu|x86_64)$")
  message(FATAL_ERROR "ZORVIK_TEST_ARCH must be auto, i686, i686-qemu or x86_64, not ${ZORVIK_TEST_ARCH}")
endif()
if(ZORVIK_RUNTIME_ARCH STREQUAL "i686")
  message(STATUS "Wine tests run build/zorvik.exe (32-bit) with 32-bit Wine, natively")
elseif(ZORVIK_RUNTIME_ARCH STREQUAL "i686-qemu")
  if(wine32_native EQUAL 0)
    set(why "ZORVIK_TEST_ARCH=i686-qemu")
  else()
    set(why "this kernel does not run 32-bit programs")
  endif()
  message(STATUS "Wine tests run build/zorvik.exe (32-bit) with 32-bit Wine under qemu-i386 (${why})")
else()
  message(STATUS "Wine tests run the 64-bit twin build/win64/zorvik.exe with 64-bit Wine (ZORVIK_TEST_ARCH=x86_64)")
endif()

# Benchmarks measure the fastest real runtime: CPU and render times under emulation mean nothing.
if(wine32_native EQUAL 0)
  set(ZORVIK_BENCH_ARCH i686)
else()
  set(ZORVIK_BENCH_ARCH x86_64)
endif()

# name: its folder under the build; program and tests: ON or OFF; then, optionally, another help host.
function(zorvik_windows_build name toolchain exclude_from_all program tests)
  set(help_host ${ZORVIK_HELP_HOST})
  if(ARGC GREATER 5)
    set(help_host ${ARGV5})
  endif()
  ExternalProject_Add(${name}
    EXCLUDE_FROM_ALL ${exclude_from_all}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${toolchain}
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
               -DZORVIK_BUILD_PROGRAM=${program}
               -DZORVIK_BUILD_TESTS=${tests}
               -DZORVIK_HELP_HOST=${help_host}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
endfunction()

# The shipped program, on its own: its compiler's thread model differs from the test programs'.
zorvik_windows_build(win32 toolchain-i686-mingw.cmake OFF ON OFF)
set(ZORVIK_EXE ${CMAKE_BINARY_DIR}/zorvik.exe)
add_custom_target(zorvik_exe ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/win32/zorvik.exe ${ZORVIK_EXE}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/win32/zorvik.exe.debug ${ZORVIK_EXE}.debug
  DEPENDS win32
  COMMENT "build/zorvik.exe")
# The 32-bit test programs: the program's code from the same sources, with GoogleTest.
if(ZORVIK_BUILD_TESTS)
  zorvik_windows_build(win32-tests toolchain-i686-mingw-posix.cmake OFF OFF ON)
endif()

# The 64-bit twin, program and test programs in one: built by default only when the tests run it;
# the benchmark scripts build it (target win64) where the kernel cannot run 32-bit Wine natively.
set(twin_on_demand ON)
if(ZORVIK_RUNTIME_ARCH STREQUAL "x86_64")
  set(twin_on_demand OFF)
endif()
zorvik_windows_build(win64 toolchain-x86_64-mingw.cmake ${twin_on_demand} ON ${ZORVIK_BUILD_TESTS})

# The program once more, for another help host: the end-to-end tests see that host in its about box
# and in what it hands the shell. Only the program (and the small render benchmark that comes with
# it), with the runtime's compiler.
if(ZORVIK_BUILD_TESTS)
  set(ZORVIK_TEST_HELP_HOST zorvik-help.test:8080)
  set(toolchain toolchain-i686-mingw.cmake)
  if(ZORVIK_RUNTIME_ARCH STREQUAL "x86_64")
    set(toolchain toolchain-x86_64-mingw.cmake)
  endif()
  zorvik_windows_build(helphost ${toolchain} OFF ON OFF ${ZORVIK_TEST_HELP_HOST})
  set(ZORVIK_TEST_HELP_HOST_EXE ${CMAKE_BINARY_DIR}/helphost/zorvik.exe)
endif()

if(ZORVIK_RUNTIME_ARCH STREQUAL "x86_64")
  set(ZORVIK_RUNTIME_DIR ${CMAKE_BINARY_DIR}/win64)
  set(ZORVIK_RUNTIME_EXE ${CMAKE_BINARY_DIR}/win64/zorvik.exe)
else()
  set(ZORVIK_RUNTIME_DIR ${CMAKE_BINARY_DIR}/win32-tests)
  set(ZORVIK_RUNTIME_EXE ${ZORVIK_EXE})
endif()
# The benchmarks take the program and render_bench from the program's sub-build and zprobe from
# that of the test programs; they bring both up to date themselves.
set(ZORVIK_BENCH_BUILD ${CMAKE_BINARY_DIR}/win32)
set(ZORVIK_BENCH_TESTS_BUILD ${CMAKE_BINARY_DIR}/win32-tests)
if(ZORVIK_BENCH_ARCH STREQUAL "x86_64")
  set(ZORVIK_BENCH_BUILD ${CMAKE_BINARY_DIR}/win64)
  set(ZORVIK_BENCH_TESTS_BUILD ${CMAKE_BINARY_DIR}/win64)
endif()

# What tools/run-zorvik.sh and the benchmark scripts need to know about this build.
file(WRITE ${CMAKE_BINARY_DIR}/runtime.env
"ZORVIK_RUNTIME_ARCH=${ZORVIK_RUNTIME_ARCH}
ZORVIK_RUNTIME_DIR=${ZORVIK_RUNTIME_DIR}
ZORVIK_RUNTIME_EXE=${ZORVIK_RUNTIME_EXE}
ZORVIK_PROBE=${ZORVIK_RUNTIME_DIR}/tests/e2e/probe/zprobe.exe
ZORVIK_BENCH_ARCH=${ZORVIK_BENCH_ARCH}
ZORVIK_BENCH_BUILD=${ZORVIK_BENCH_BUILD}
ZORVIK_BENCH_TESTS_BUILD=${ZORVIK_BENCH_TESTS_BUILD}
ZORVIK_BENCH_EXE=${ZORVIK_BENCH_BUILD}/zorvik.exe
ZORVIK_BENCH_PROBE=${ZORVIK_BENCH_TESTS_BUILD}/tests/e2e/probe/zprobe.exe
")

if(ZORVIK_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()

