# The Windows-only layer: thin Win32 and COM code over the portable core.

# --- Windows-only plug-in sources, shared by the DLL and its Wine tests.
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

# --- The plug-in: VelmoraCup.dll, exports by name and ordinal from the .def.
add_library(VelmoraCup SHARED
  src/plugin/Exports.cpp
  src/plugin/PluginModule.cpp
  src/window/MainForm.cpp
  src/plugin/VelmoraCup.def
)
set_target_properties(VelmoraCup PROPERTIES PREFIX "" OUTPUT_NAME "VelmoraCup"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR} LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(VelmoraCup PRIVATE velmora_win32)
target_compile_options(VelmoraCup PRIVATE ${VELMORA_WARNINGS})
target_link_options(VelmoraCup PRIVATE -s)

# --- The host's side of the log database (Wine has no usable ADO provider):
# used by the Windows tests and the host simulator.
add_subdirectory(tools/hostado)

# --- The host logger's side: what any host program needs to drive the
# plug-in, and velmora-host.exe, the simulator built on it.
add_subdirectory(tools/hostkit)
add_subdirectory(tools/velmora-host)
