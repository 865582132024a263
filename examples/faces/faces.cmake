# Included by every project that links morvane::morvane and builds this
# example (examples/CMakeLists.txt and the consumer projects of
# tests/consumer/): faces.cpp built as C++17 (faces_cxx17) and as C++20
# (faces_cxx20), and the plug-in it loads (consumer_plugin, a module without
# the "lib" prefix). Run as
#   faces_cxx17 <path of consumer_plugin>
add_library(consumer_plugin MODULE ${CMAKE_CURRENT_LIST_DIR}/plugin.cpp)
set_target_properties(consumer_plugin PROPERTIES PREFIX "")

foreach(standard IN ITEMS 17 20)
  add_executable(faces_cxx${standard} ${CMAKE_CURRENT_LIST_DIR}/faces.cpp)
  target_link_libraries(faces_cxx${standard} PRIVATE morvane::morvane)
  set_target_properties(faces_cxx${standard} PROPERTIES
    CXX_STANDARD ${standard} CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF)
endforeach()
