# The effects' data on the program's CD: the eight light and shadow masks that
# tavelin_masks draws, and the fallback copy of the picture module that the
# program opens when the program folder has none. The effects open the masks
# as "Datas\<name>.bin" relative to the data root, so they land in a Datas
# folder inside it.

set(MASKS_DATA_DIR ${CMAKE_BINARY_DIR}/dist/share/tavelin/cd/Datas)
set(MASKS_DIR ${MASKS_DATA_DIR}/Datas)
set(MASKS_NAMES Soleil Pointi BulleL BulleH NeigeL NeigeH PlanteL2 PlanteH)

add_executable(tavelin_masks
  buildtools/masks/main.cpp
  buildtools/masks/mask.cpp
  buildtools/masks/light.cpp
  buildtools/masks/bubbles.cpp
  buildtools/masks/snow.cpp
  buildtools/masks/plants.cpp)
target_include_directories(tavelin_masks PRIVATE ${CMAKE_SOURCE_DIR})

set(MASKS_OUTPUTS)
foreach(name IN LISTS MASKS_NAMES)
  list(APPEND MASKS_OUTPUTS ${MASKS_DIR}/${name}.bin)
endforeach()
add_custom_command(
  OUTPUT ${MASKS_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MASKS_DIR}
  COMMAND tavelin_masks --out ${MASKS_DIR}
  DEPENDS tavelin_masks
  COMMENT "Drawing the effect masks"
  VERBATIM)

# Banques.dat is packed by assets/art.cmake into the program folder.
add_custom_command(
  OUTPUT ${MASKS_DATA_DIR}/Banques.dat
  COMMAND ${CMAKE_COMMAND} -E copy ${ART_MODULE} ${MASKS_DATA_DIR}/Banques.dat
  DEPENDS ${ART_MODULE}
  COMMENT "Copying the picture module to the CD"
  VERBATIM)

add_custom_target(tavelin_masks_data ALL DEPENDS ${MASKS_OUTPUTS} ${MASKS_DATA_DIR}/Banques.dat)
# The module is made by another target; waiting for it keeps the two from
# packing it at the same time.
add_dependencies(tavelin_masks_data tavelin_pictures)
cmake_language(DEFER CALL add_dependencies tavelin tavelin_masks_data)
