# The Windows side: the program, its resources, and the programs that test it under Wine.

set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=932")

add_library(zorvik_core STATIC ${ZORVIK_PURE_SOURCES} ${ZORVIK_WIN32_SOURCES})
target_include_directories(zorvik_core PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(zorvik_core PUBLIC ${ZORVIK_TEXT_FLAGS} PRIVATE ${ZORVIK_WARNING_FLAGS} -Werror)
target_compile_definitions(zorvik_core PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601)
target_link_libraries(zorvik_core PUBLIC user32 gdi32 shell32 kernel32)

# Statically linked, so that it imports system DLLs only.
set(ZORVIK_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_executable(zorvik WIN32 zorvik/shell/main.cpp resources/zorvik.rc)
target_link_libraries(zorvik PRIVATE zorvik_core)
target_link_options(zorvik PRIVATE ${ZORVIK_STATIC_LINK})
set_source_files_properties(resources/zorvik.rc PROPERTIES
  OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/resources/zorvik.ico;${PROJECT_SOURCE_DIR}/resources/zorvik.manifest;${PROJECT_SOURCE_DIR}/resources/version.h")

if(ZORVIK_BUILD_TESTS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e/probe)
  if(EXISTS ${PROJECT_SOURCE_DIR}/tests/benchmarks/CMakeLists.txt)
    add_subdirectory(tests/benchmarks)
  endif()
endif()
