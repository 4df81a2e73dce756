# The Windows-only layer: thin Win32 and COM code over the portable core.

# --- Windows-only plug-in sources, shared by the DLLs and their Wine tests.
add_library(velmora_win32 STATIC
  src/members/HostMemberFile.cpp
  src/recalc/AdoLogQuery.cpp
  src/window/ErrorBox.cpp
  src/window/LocaleCaseFolding.cpp
  src/window/MessagePass.cpp
  src/window/Win32PlacementRegistry.cpp
  src/window/Win32PlacementWindow.cpp
)
target_include_directories(velmora_win32 PUBLIC src)
target_link_libraries(velmora_win32 PUBLIC velmora_core ole32 oleaut32 uuid advapi32 user32 gdi32)
target_compile_options(velmora_win32 PRIVATE ${VELMORA_WARNINGS})
# mingw's ADO headers declare unnamed classes that only -fpermissive accepts,
# so the flag goes to this one file alone.
set_source_files_properties(src/recalc/AdoLogQuery.cpp PROPERTIES COMPILE_OPTIONS -fpermissive)

# --- The plug-in DLLs. A cross build builds them with the win32 thread
# model, whose runtime lets go of what it took when the host unloads the
# library; the test programs and the host side use the posix model for
# std::thread and std::mutex. One compiler per language per build, so the DLLs
# come from a sub-build of this source tree with the toolchain named by
# VELMORA_PLUGIN_TOOLCHAIN, and this build knows them as imported targets.
# A build on Windows itself (no toolchain file) builds them in place.
set(plugin_dll ${CMAKE_BINARY_DIR}/VelmoraCup.dll)
set(seams_dll ${CMAKE_BINARY_DIR}/tests/wine/reliability/VelmoraCupWithSeams.dll)
if(VELMORA_PLUGIN_ONLY OR NOT VELMORA_PLUGIN_TOOLCHAIN)
  include(cmake/PluginDlls.cmake)
  if(VELMORA_PLUGIN_ONLY)
    return()
  endif()
else()
  include(ExternalProject)
  ExternalProject_Add(plugin_dlls
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/plugin-dlls
    # Stamps inside the sub-build, so deleting it configures it afresh.
    STAMP_DIR ${CMAKE_BINARY_DIR}/plugin-dlls/stamps
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${VELMORA_PLUGIN_TOOLCHAIN}
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DVELMORA_PLUGIN_ONLY=ON
      -DVELMORA_BUILD_TESTS=${VELMORA_BUILD_TESTS}
      -DVELMORA_PLUGIN_OUTPUT_DIR=${CMAKE_BINARY_DIR}
    INSTALL_COMMAND ""
    # The sub-build decides itself whether anything changed.
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${plugin_dll} ${seams_dll})
  add_library(VelmoraCup SHARED IMPORTED GLOBAL)
  set_target_properties(VelmoraCup PROPERTIES IMPORTED_LOCATION ${plugin_dll})
  add_dependencies(VelmoraCup plugin_dlls)
  add_library(VelmoraCupWithSeams SHARED IMPORTED GLOBAL)
  set_target_properties(VelmoraCupWithSeams PROPERTIES IMPORTED_LOCATION ${seams_dll})
  add_dependencies(VelmoraCupWithSeams plugin_dlls)
  # Built whenever the Windows build is, as a library target of its own would be.
  add_custom_target(plugin ALL DEPENDS plugin_dlls)
endif()

# --- The host's side of the log database (Wine has no usable ADO provider):
# used by the Windows tests and the host simulator.
add_subdirectory(tools/hostado)

# --- The host logger's side: what any host program needs to drive the
# plug-in, and velmora-host.exe, the simulator built on it.
add_subdirectory(tools/hostkit)
add_subdirectory(tools/velmora-host)
