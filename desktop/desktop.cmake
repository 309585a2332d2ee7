# What the desktop needs besides the program: the launcher, the icon in the
# hicolor theme and the window's own icon beside the program (drawn by
# buildtools/icon at build time), the AppStream
# metadata with a screenshot the build takes of the program itself, and the
# manual page. Everything lands in build/desktop and is installed with the
# program; the Debian package is made from the same install rules.

set(DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
set(DESKTOP_ID org.tavelin.Tavelin)
set(TAVELIN_SCREENSHOT_URL "https://tavelin.example.org/screenshots/workshop.png" CACHE STRING
    "Where the software centres fetch the screenshot that the package installs")

add_executable(tavelin_icon buildtools/icon/main.cpp)
target_link_libraries(tavelin_icon PRIVATE PkgConfig::CAIRO)

set(DESKTOP_ICON_SIZES 48 64 128 256)
set(DESKTOP_ICONS ${DESKTOP_DIR}/icons/tavelin.svg)
foreach(size IN LISTS DESKTOP_ICON_SIZES)
  list(APPEND DESKTOP_ICONS ${DESKTOP_DIR}/icons/${size}x${size}/tavelin.png)
endforeach()
set(DESKTOP_WINDOW_ICON ${DIST_DIR}/lib/tavelin/tavelin.bmp)
list(APPEND DESKTOP_ICONS ${DESKTOP_WINDOW_ICON})
add_custom_command(
  OUTPUT ${DESKTOP_ICONS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}/lib/tavelin
  COMMAND tavelin_icon --icon ${DESKTOP_DIR}/icons
  COMMAND tavelin_icon --window-icon ${DESKTOP_WINDOW_ICON}
  DEPENDS tavelin_icon
  COMMENT "Drawing the program's icon"
  VERBATIM)

# The screenshot: the program run headless in a home of its own, so that the
# build never meets a running copy nor the builder's own drawings.
set(shot ${DESKTOP_DIR}/screenshot)
add_custom_command(
  OUTPUT ${DESKTOP_DIR}/workshop.png
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${shot}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${shot}/home ${shot}/runtime
  COMMAND ${CMAKE_COMMAND} -E chdir ${shot}
          env -i PATH=/usr/bin:/bin LANG=fr_FR.UTF-8 HOME=${shot}/home XDG_RUNTIME_DIR=${shot}/runtime
          $<TARGET_FILE:tavelin> --headless --mute --script ${CMAKE_SOURCE_DIR}/desktop/screenshot.txt
  COMMAND tavelin_icon --png ${shot}/workshop.bmp ${DESKTOP_DIR}/workshop.png
  DEPENDS tavelin tavelin_icon tavelin_data tavelin_pictures tavelin_masks_data
          ${CMAKE_SOURCE_DIR}/desktop/screenshot.txt
  COMMENT "Taking the screenshot for the software centres"
  VERBATIM)

configure_file(${CMAKE_SOURCE_DIR}/desktop/${DESKTOP_ID}.metainfo.xml.in
               ${DESKTOP_DIR}/${DESKTOP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/desktop/tavelin.6 ${DESKTOP_DIR}/tavelin.6 @ONLY)
add_custom_target(tavelin_desktop ALL DEPENDS ${DESKTOP_ICONS} ${DESKTOP_DIR}/workshop.png)

# The installed tree. The program is installed as a target, so that
# `cmake --install --strip` and the package strip it; the picture module is
# kept once, on the data drive, where the program looks when its own folder
# has none.
install(TARGETS tavelin RUNTIME DESTINATION lib/tavelin)
install(DIRECTORY ${DIST_DIR}/ DESTINATION . USE_SOURCE_PERMISSIONS
  REGEX "/lib/tavelin/tavelin$" EXCLUDE
  REGEX "/lib/tavelin/Banques.dat$" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${DESKTOP_ID}.desktop DESTINATION share/applications)
install(FILES ${DESKTOP_DIR}/${DESKTOP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${DESKTOP_DIR}/tavelin.6 DESTINATION share/man/man6)
install(FILES ${DESKTOP_DIR}/workshop.png DESTINATION share/tavelin/screenshots)
install(FILES ${DESKTOP_DIR}/icons/tavelin.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size IN LISTS DESKTOP_ICON_SIZES)
  install(FILES ${DESKTOP_DIR}/icons/${size}x${size}/tavelin.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# The Debian package: `cpack -G DEB` in the build folder. Its dependencies are
# read from the shared libraries the program links (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME tavelin)
set(CPACK_PACKAGE_VENDOR "Le petit Tavelin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "painting workshop for young children")
set(CPACK_PACKAGE_DESCRIPTION "Brushes and stamps, fill patterns, speech balloons and special
effects on one big sheet framed by picture buttons, with a comic sound at every click
and a voice that explains every button, for children from 4 to 10.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Le petit Tavelin developers <tavelin@example.org>")
include(CPack)
