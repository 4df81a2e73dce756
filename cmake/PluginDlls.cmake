# The plug-in DLLs (see cmake/Windows.cmake for who builds them):
# VelmoraCup.dll, and for the reliability tests VelmoraCupWithSeams.dll, the
# same sources plus allocations that fail on demand. Both go where the main
# Windows build expects them.
if(NOT VELMORA_PLUGIN_OUTPUT_DIR)
  set(VELMORA_PLUGIN_OUTPUT_DIR ${CMAKE_BINARY_DIR})
endif()

# The plug-in's own sources, over the core and the Windows layer.
set(plugin_sources src/plugin/Exports.cpp src/plugin/PluginModule.cpp src/window/MainForm.cpp)

# --- The plug-in: VelmoraCup.dll, exports by name and ordinal from the .def.
add_library(VelmoraCup SHARED ${plugin_sources} src/plugin/VelmoraCup.def)
set_target_properties(VelmoraCup PROPERTIES PREFIX "" OUTPUT_NAME "VelmoraCup"
  RUNTIME_OUTPUT_DIRECTORY ${VELMORA_PLUGIN_OUTPUT_DIR} LIBRARY_OUTPUT_DIRECTORY ${VELMORA_PLUGIN_OUTPUT_DIR})
target_link_libraries(VelmoraCup PRIVATE velmora_win32)
target_compile_options(VelmoraCup PRIVATE ${VELMORA_WARNINGS})
target_link_options(VelmoraCup PRIVATE -s)

# --- VelmoraCupWithSeams.dll: the plug-in's own sources, plus global
# operator new/delete that fail on demand through one extra export. The
# shipped VelmoraCup target is left as it is.
if(NOT VELMORA_BUILD_TESTS)
  return()
endif()
set(seams_dir ${PROJECT_SOURCE_DIR}/tests/wine/reliability/seams)
add_library(VelmoraCupWithSeams SHARED
  ${plugin_sources} ${seams_dir}/AllocationSeam.cpp ${seams_dir}/VelmoraCupWithSeams.def)
set_target_properties(VelmoraCupWithSeams PROPERTIES PREFIX "" OUTPUT_NAME "VelmoraCupWithSeams"
  RUNTIME_OUTPUT_DIRECTORY ${VELMORA_PLUGIN_OUTPUT_DIR}/tests/wine/reliability
  LIBRARY_OUTPUT_DIRECTORY ${VELMORA_PLUGIN_OUTPUT_DIR}/tests/wine/reliability)
target_link_libraries(VelmoraCupWithSeams PRIVATE velmora_win32)
target_compile_options(VelmoraCupWithSeams PRIVATE ${VELMORA_WARNINGS})
