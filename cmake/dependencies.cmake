# Libraries the subsystems link against. Each subsystem that brings a new
# library adds it here.
pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
find_package(PNG REQUIRED)
target_link_libraries(liborvane PUBLIC PkgConfig::PIXMAN PNG::PNG)
find_package(ZLIB REQUIRED)
target_link_libraries(liborvane PUBLIC ZLIB::ZLIB)
# Every src/app/*.cpp except main.cpp is already part of the library (see the
# top CMakeLists.txt), so the tools' tests can link them.
# The SDL2 backend shows the desktop in a host window. Linked privately: only
# src/platform/backends includes SDL's headers.
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
target_link_libraries(liborvane PRIVATE PkgConfig::SDL2)
# The fonts unit: FreeType reads the faces that fontconfig finds. Private, so
# that nothing outside src/platform/fonts sees their headers.
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
target_link_libraries(liborvane PRIVATE PkgConfig::FREETYPE PkgConfig::FONTCONFIG)
# JPEG images inside QuickTime-compressed pictures, decoded with
# libjpeg-turbo. Private: only src/platform/raster/jpeg_decoder.cpp includes
# its header.
find_package(JPEG REQUIRED)
target_link_libraries(liborvane PRIVATE JPEG::JPEG)
