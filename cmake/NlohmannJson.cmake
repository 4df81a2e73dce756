# velmora_use_nlohmann_json(TARGET): the header-only JSON library for TARGET.
# Natively through its CMake package; in the cross build from where Debian
# keeps the header, through a folder holding only that library so that no
# other host header leaks into the Windows build.
function(velmora_use_nlohmann_json target)
  # The package's own target would add the host's /usr/include to a cross
  # build, so it serves native builds only.
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(nlohmann_json 3 QUIET)
    if(nlohmann_json_FOUND)
      target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)
      return()
    endif()
  endif()
  find_path(VELMORA_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(nlohmann_only ${CMAKE_BINARY_DIR}/nlohmann-include)
  if(NOT EXISTS ${nlohmann_only}/nlohmann)
    file(MAKE_DIRECTORY ${nlohmann_only})
    file(CREATE_LINK ${VELMORA_NLOHMANN_DIR}/nlohmann ${nlohmann_only}/nlohmann SYMBOLIC)
  endif()
  target_include_directories(${target} SYSTEM PRIVATE ${nlohmann_only})
endfunction()
