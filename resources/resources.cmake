# The resource pack compiler and the packs it makes. respack runs on the build
# machine; each pack becomes an object library whose one source embeds the
# pack's bytes, so an executable links exactly one pack: program_resources for
# the program, test_resources for the tests and fuzz targets.
add_executable(respack
  buildtools/respack/main.cpp
  buildtools/respack/text_source.cpp
  platform/kernel/resource_pack.cpp)
target_include_directories(respack PRIVATE ${CMAKE_SOURCE_DIR})

# The dialog template compiler, shared by respack and the unit tests.
add_library(respack_dialogs OBJECT buildtools/respack/dialog_source.cpp)
target_include_directories(respack_dialogs PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(respack PRIVATE respack_dialogs)
if(TAVELIN_TESTS)
  # The test program is made after this file is read.
  cmake_language(DEFER CALL target_link_libraries tavelin_tests PRIVATE respack_dialogs)
endif()

# tavelin_add_resource_pack(<target> <manifest> [<search dir>...]) compiles the
# manifest into ${CMAKE_BINARY_DIR}/resources/<target>.pack and into the object
# library <target>. The tool writes a depfile naming every file it read, so the
# pack is remade whenever the manifest or one of its files changes.
function(tavelin_add_resource_pack target manifest)
  set(dir ${CMAKE_BINARY_DIR}/resources)
  set(search)
  foreach(searchDir IN LISTS ARGN)
    list(APPEND search --search ${searchDir})
  endforeach()
  add_custom_command(
    OUTPUT ${dir}/${target}.pack ${dir}/${target}.cpp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND respack --pack ${dir}/${target}.pack --source ${dir}/${target}.cpp
            --depfile ${dir}/${target}.d ${search} ${manifest}
    DEPENDS respack ${manifest}
    DEPFILE ${dir}/${target}.d
    COMMENT "Packing the resources of ${manifest}"
    VERBATIM)
  add_library(${target} OBJECT ${dir}/${target}.cpp)
  set_target_properties(${target} PROPERTIES TAVELIN_PACK ${dir}/${target}.pack)
endfunction()

# The program's pack is made from the manifest that assets/art.cmake writes:
# resources.txt followed by the generated pictures and cursors.
set(TAVELIN_ART_DIR ${CMAKE_BINARY_DIR}/art)
tavelin_add_resource_pack(program_resources ${TAVELIN_ART_DIR}/program.txt
  ${CMAKE_SOURCE_DIR}/resources)
tavelin_add_resource_pack(test_resources
  ${CMAKE_SOURCE_DIR}/tests/support/test_pack/manifest.txt ${CMAKE_SOURCE_DIR}/resources)

if(TAVELIN_TESTS)
  # The compiler's refusals, checked on the tool itself.
  enable_testing()
  add_test(NAME Respack.RefusesCharactersOutsideWindows1252
    COMMAND respack --pack ${CMAKE_BINARY_DIR}/resources/refused.pack
            ${CMAKE_SOURCE_DIR}/tests/support/test_pack/refused/unrepresentable.txt)
  set_tests_properties(Respack.RefusesCharactersOutsideWindows1252 PROPERTIES
    PASS_REGULAR_EXPRESSION "bad_text.txt: line 3: U\\+2192 cannot be written in Windows-1252")
  add_test(NAME Respack.RefusesDuplicateResources
    COMMAND respack --pack ${CMAKE_BINARY_DIR}/resources/refused.pack
            ${CMAKE_SOURCE_DIR}/tests/support/test_pack/refused/duplicate.txt)
  set_tests_properties(Respack.RefusesDuplicateResources PROPERTIES
    PASS_REGULAR_EXPRESSION "duplicate.txt:3: TEXT 32001 appears twice")
endif()
