# tvx_nlohmann_json: Debian's header-only JSON library for both builds. The cross compiler must not
# search all of /usr/include (the host's C library lives there), so only the library's own folder is
# linked into a directory of its own.
if(TARGET tvx_nlohmann_json)
  return()
endif()
find_path(TVX_NLOHMANN_JSON_ROOT nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TVX_NLOHMANN_JSON_ROOT)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install Debian's nlohmann-json3-dev (scripts/install-deps.sh)")
endif()
set(tvx_nlohmann_dir ${CMAKE_BINARY_DIR}/nlohmann-json-include)
file(MAKE_DIRECTORY ${tvx_nlohmann_dir})
if(NOT EXISTS ${tvx_nlohmann_dir}/nlohmann)
  file(CREATE_LINK ${TVX_NLOHMANN_JSON_ROOT}/nlohmann ${tvx_nlohmann_dir}/nlohmann SYMBOLIC)
endif()
add_library(tvx_nlohmann_json INTERFACE)
target_include_directories(tvx_nlohmann_json SYSTEM INTERFACE ${tvx_nlohmann_dir})
