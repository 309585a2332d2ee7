# The pictures and cursors: tavelin_art draws them with the Windows layer's
# raster engine and the colour emoji of Noto Color Emoji, and writes them with
# two manifests into build/art. The program's manifest (resources/resources.txt
# followed by the generated pictures and cursors) makes the program_resources
# pack of resources/resources.cmake; the picture module's manifest is packed
# here into the program folder as Banques.dat. A contact sheet of everything
# lands in build/art/contact.bmp.

set(ART_EMOJI_FONT /usr/share/fonts/truetype/noto/NotoColorEmoji.ttf)
if(NOT EXISTS ${ART_EMOJI_FONT})
  message(FATAL_ERROR "${ART_EMOJI_FONT} is missing: install the Debian package "
                      "fonts-noto-color-emoji (./build.sh does).")
endif()

file(GLOB ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/buildtools/art/*.cpp)
add_executable(tavelin_art ${ART_SOURCES})
target_link_libraries(tavelin_art PRIVATE platform)

add_custom_command(
  OUTPUT ${TAVELIN_ART_DIR}/program.txt ${TAVELIN_ART_DIR}/module.txt
         ${TAVELIN_ART_DIR}/contact.bmp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVELIN_ART_DIR}
  COMMAND tavelin_art --emoji ${ART_EMOJI_FONT} --out ${TAVELIN_ART_DIR}
          --program-base ${CMAKE_SOURCE_DIR}/resources/resources.txt
          --contact ${TAVELIN_ART_DIR}/contact.bmp
  DEPENDS tavelin_art ${CMAKE_SOURCE_DIR}/resources/resources.txt ${ART_EMOJI_FONT}
  COMMENT "Drawing the pictures and cursors"
  VERBATIM)

set(ART_MODULE ${CMAKE_BINARY_DIR}/dist/lib/tavelin/Banques.dat)
add_custom_command(
  OUTPUT ${ART_MODULE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist/lib/tavelin
  COMMAND respack --pack ${ART_MODULE} ${TAVELIN_ART_DIR}/module.txt
  DEPENDS respack ${TAVELIN_ART_DIR}/module.txt
  COMMENT "Packing the picture module Banques.dat"
  VERBATIM)
add_custom_target(tavelin_pictures ALL DEPENDS ${ART_MODULE} ${TAVELIN_ART_DIR}/program.txt)
# The program's pack reads program.txt too: it waits for this target, so that
# the drawing never runs twice at once in a parallel build.
add_dependencies(program_resources tavelin_pictures)
cmake_language(DEFER CALL add_dependencies tavelin tavelin_pictures)
