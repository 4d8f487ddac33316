# Start-up baselines for the main window: a bare window of the same size, and the same
# window with all its units made directly with CreateWindowExW.
add_executable(bare_window WIN32 ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_options(bare_window PRIVATE -municode)
target_link_libraries(bare_window PRIVATE gdi32)

add_executable(direct_window WIN32 ${CMAKE_CURRENT_LIST_DIR}/direct_window.cpp)
target_link_options(direct_window PRIVATE -municode)
target_link_libraries(direct_window PRIVATE comctl32 uxtheme gdi32)
