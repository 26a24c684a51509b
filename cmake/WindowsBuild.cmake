# The Windows side: the program, its resources, and the programs that test it under Wine.

set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=932")

# The same bytes from any checkout: __FILE__ and debug info name the sources and the build folder
# (the last map that fits wins) by where they are in the project, not on the disk. Each function
# and object in a section of its own, for the linker to drop those nothing uses.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.;-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>"
  "$<$<COMPILE_LANGUAGE:CXX>:-ffunction-sections;-fdata-sections>")

add_library(zorvik_core STATIC ${ZORVIK_PURE_SOURCES} ${ZORVIK_WIN32_SOURCES})
target_include_directories(zorvik_core PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(zorvik_core PUBLIC ${ZORVIK_TEXT_FLAGS} PRIVATE ${ZORVIK_WARNING_FLAGS} -Werror)
target_compile_definitions(zorvik_core PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601
                           ZORVIK_HELP_HOST="${ZORVIK_HELP_HOST}")
target_link_libraries(zorvik_core PUBLIC user32 gdi32 shell32 kernel32)

# Statically linked, so that it imports system DLLs only.
set(ZORVIK_STATIC_LINK -static -static-libgcc -static-libstdc++)
# No link time in the header: the same sources give the same file (the self-test kit ships the
# test programs too).
set(ZORVIK_NO_TIMESTAMP -Wl,--no-insert-timestamp)

# The shipped program (a build of the test programs leaves it out).
if(ZORVIK_BUILD_PROGRAM)
  add_executable(zorvik WIN32 zorvik/shell/main.cpp zorvik/shell/terminate.cpp zorvik/shell/thread_id.cpp
                 resources/zorvik.rc)
  target_link_libraries(zorvik PRIVATE zorvik_core)
  # The map tells what each library put in (tools/exe_size.py reads it).
  target_link_options(zorvik PRIVATE ${ZORVIK_STATIC_LINK} -Wl,--gc-sections ${ZORVIK_NO_TIMESTAMP}
                      -Wl,-Map,${CMAKE_CURRENT_BINARY_DIR}/zorvik.map)
  # The oldest system it runs on, Windows XP (5.1), in the header, where the loader reads it.
  target_link_options(zorvik PRIVATE -Wl,--major-os-version,5,--minor-os-version,1
                      -Wl,--major-subsystem-version,5,--minor-subsystem-version,1)
  # The shipped file carries no debug info: that of the static runtime goes to zorvik.exe.debug, which
  # gdb finds through .gnu_debuglink. objcopy stamps what it writes with the time unless
  # SOURCE_DATE_EPOCH says otherwise; 0 as the linker leaves it, and the CRC in the link stays put.
  add_custom_command(TARGET zorvik POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_OBJCOPY} --only-keep-debug zorvik.exe zorvik.exe.debug
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=zorvik.exe.debug zorvik.exe
    WORKING_DIRECTORY $<TARGET_FILE_DIR:zorvik>
    VERBATIM)
  set_source_files_properties(resources/zorvik.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/resources/zorvik.ico;${PROJECT_SOURCE_DIR}/resources/zorvik.manifest;${PROJECT_SOURCE_DIR}/resources/version.h")
  # The render benchmark times the program's code as the shipped file's compiler built it.
  add_subdirectory(tests/benchmarks)
endif()

if(ZORVIK_BUILD_TESTS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e/probe)
  add_subdirectory(tests/selftest)
endif()
