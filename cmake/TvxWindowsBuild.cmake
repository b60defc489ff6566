# The Windows cross build (see mingw-w64-x86_64.cmake): what it needs beyond the common helpers.

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(WARNING "No CMAKE_CROSSCOMPILING_EMULATOR: the Windows tests cannot run on this host")
endif()

# GoogleTest from the sources of Debian's googletest package, built with the cross compiler.
function(tvx_add_cross_gtest)
  set(src /usr/src/googletest)
  if(NOT EXISTS ${src}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources missing at ${src}: install Debian's googletest package")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${src} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Recent GoogleTest names its targets GTest::* itself; older ones did not.
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endfunction()

# The 32-bit records (the 60-byte launch record, the 16-byte privilege record) are checked by
# static_asserts; this compiles every *_win.cpp for 32-bit Windows so that they are evaluated there too.
function(tvx_add_win32_layout_test name)
  find_program(TVX_MINGW32_CXX NAMES i686-w64-mingw32-g++-posix i686-w64-mingw32-g++ REQUIRED)
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/*.h)
  set(stamps "")
  foreach(source IN LISTS ARGN)
    get_filename_component(base ${source} NAME_WE)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}_${base}.stamp)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${TVX_MINGW32_CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I${PROJECT_SOURCE_DIR}/src
              ${source}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${source} ${headers}
      COMMENT "32-bit Windows: ${base}.cpp" VERBATIM)
    list(APPEND stamps ${stamp})
  endforeach()
  add_custom_target(${name} ALL DEPENDS ${stamps})
endfunction()
