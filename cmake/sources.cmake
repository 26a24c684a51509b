# Source lists shared by the native and the Windows builds.

# Free of windows.h: built for Windows and natively (tested there under sanitizers).
set(ZORVIK_PURE_SOURCES
  general/numbers.cpp
  zorvik/commands/about_text.cpp
  zorvik/commands/command_ids.cpp
  zorvik/commands/copy_text.cpp
  zorvik/commands/menu_texts.cpp
  zorvik/settings/settings_record.cpp
  zorvik/shell/placement.cpp
  zorvik/view/capture_math.cpp
  zorvik/view/grid_geometry.cpp
  zorvik/view/layout_calc.cpp
  zorvik/view/status_text.cpp
)

set(ZORVIK_WIN32_SOURCES
  general/clipboard.cpp
  general/cursor.cpp
  general/keys.cpp
  general/menu_helpers.cpp
  general/system.cpp
  zorvik/commands/about.cpp
  zorvik/commands/copy.cpp
  zorvik/commands/menus.cpp
  zorvik/settings/settings_file.cpp
  zorvik/shell/app_state.cpp
  zorvik/shell/startup.cpp
  zorvik/shell/window_proc.cpp
  zorvik/view/grid.cpp
  zorvik/view/layout.cpp
  zorvik/view/render.cpp
  zorvik/view/screen_bitmap.cpp
  zorvik/view/status_line.cpp
)

# UTF-8 sources, code page 932 bytes in the program.
set(ZORVIK_TEXT_FLAGS -finput-charset=UTF-8 -fexec-charset=CP932)
set(ZORVIK_WARNING_FLAGS -Wall -Wextra)
