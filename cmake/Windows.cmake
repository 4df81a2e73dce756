# Windows-only parts of the plug-in: the sources that call the Windows API,
# gathered in one library that the DLL and the Wine tests link.
add_library(velmora_win32 STATIC
  src/window/Win32PlacementRegistry.cpp
  src/window/Win32PlacementWindow.cpp
  src/members/HostMemberFile.cpp
  src/window/ErrorBox.cpp
  src/window/LocaleCaseFolding.cpp
  src/window/MessagePass.cpp
)
target_include_directories(velmora_win32 PUBLIC src)
target_link_libraries(velmora_win32 PUBLIC velmora_core ole32 oleaut32 uuid advapi32 user32 gdi32)
target_compile_options(velmora_win32 PRIVATE ${VELMORA_WARNINGS})

# --- The plug-in: VelmoraCup.dll, exports by name and ordinal from the .def.
if(EXISTS ${CMAKE_SOURCE_DIR}/src/recalc/AdoLogQuery.cpp)
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
endif()

# --- The log query over ADO. mingw's ADO headers declare unnamed classes that
# only -fpermissive accepts, so the flag goes to this one file alone.
target_sources(velmora_win32 PRIVATE src/recalc/AdoLogQuery.cpp)
set_source_files_properties(src/recalc/AdoLogQuery.cpp PROPERTIES COMPILE_OPTIONS -fpermissive)
