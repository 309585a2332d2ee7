# The program's data that is not a picture: the comic sounds (our synthesizer),
# the spoken help (espeak-ng), the sixteen fonts (Debian font packages) and the
# program folder's win.ini that maps the face names the program asks for to the
# families of the fonts shipped. Everything lands in build/dist, is remade only
# when its sources change, and comes out byte for byte the same every build.

set(ASSETS_DIST ${CMAKE_BINARY_DIR}/dist)
set(ASSETS_PROGRAM_DIR ${ASSETS_DIST}/lib/tavelin)
set(ASSETS_DATA_DIR ${ASSETS_DIST}/share/tavelin/cd/Datas)
set(ASSETS_STAMPS ${CMAKE_BINARY_DIR}/assets)

find_program(ESPEAK_NG espeak-ng)
if(NOT ESPEAK_NG)
  message(FATAL_ERROR "espeak-ng is needed to speak the help recordings: "
                      "install the Debian package espeak-ng (./build.sh does).")
endif()

# The sounds, rendered by a host tool of our own.
add_executable(tavelin_synth
  buildtools/synth/main.cpp
  buildtools/synth/dsp.cpp
  buildtools/synth/instruments.cpp
  buildtools/synth/recipes_program.cpp
  buildtools/synth/recipes_cd.cpp
  buildtools/synth/wav.cpp)
target_include_directories(tavelin_synth PRIVATE ${CMAKE_SOURCE_DIR})

# A sample of the outputs is named beside the stamp, so that a removed dist
# folder is made again.
add_custom_command(
  OUTPUT ${ASSETS_STAMPS}/sounds.stamp ${ASSETS_PROGRAM_DIR}/Sons/Synthac.WAV
         ${ASSETS_DATA_DIR}/CDSons/harpe.WAV
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ASSETS_STAMPS}
  COMMAND tavelin_synth --sounds ${ASSETS_PROGRAM_DIR}/Sons
          --cd-sounds ${ASSETS_DATA_DIR}/CDSons --stamp ${ASSETS_STAMPS}/sounds.stamp
  DEPENDS tavelin_synth
  COMMENT "Synthesizing the sounds"
  VERBATIM)
set(ASSETS_OUTPUTS ${ASSETS_STAMPS}/sounds.stamp)

# The spoken help: one espeak-ng voice per language that has recordings (the
# Italian texts have none), reading the help strings of that language. Each
# entry is the text's language, the voice and the recordings' first letter.
set(ASSETS_VOICES fr:fr+f3:F en:en-gb+f3:A de:de+f3:d es:es+f3:E nl:nl+f3:H)
foreach(pair IN LISTS ASSETS_VOICES)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 language)
  list(GET pair 1 voice)
  list(GET pair 2 letter)
  set(stamp ${ASSETS_STAMPS}/voices_${language}.stamp)
  add_custom_command(
    OUTPUT ${stamp} ${ASSETS_DATA_DIR}/CDSons/${letter}help.WAV
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ASSETS_STAMPS}
    COMMAND sh ${CMAKE_SOURCE_DIR}/assets/speak.sh ${ESPEAK_NG} ${voice}
            ${CMAKE_SOURCE_DIR}/resources/text/help_${language}.txt
            ${ASSETS_DATA_DIR}/CDSons ${stamp}
    DEPENDS ${CMAKE_SOURCE_DIR}/assets/speak.sh
            ${CMAKE_SOURCE_DIR}/resources/text/help_${language}.txt
    COMMENT "Speaking the help recordings (${language})"
    VERBATIM)
  list(APPEND ASSETS_OUTPUTS ${stamp})
endforeach()

# The title screen greets the child and the farewell dialog says goodbye.
foreach(pair IN ITEMS "About:Le petit Tavelin !" "Final:Au revoir, et à bientôt !")
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 name)
  list(GET pair 1 words)
  set(wav ${ASSETS_DATA_DIR}/CDSons/${name}.WAV)
  add_custom_command(
    OUTPUT ${wav}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ASSETS_DATA_DIR}/CDSons
    COMMAND ${ESPEAK_NG} -v fr+f3 -s 140 -p 65 -w ${wav} ${words}
    COMMENT "Speaking ${name}"
    VERBATIM)
  list(APPEND ASSETS_OUTPUTS ${wav})
endforeach()

# The sixteen fonts: file name the program registers, face name it asks for,
# and the Debian font that stands in for it. The files keep their own family
# names; win.ini's [FontSubstitutes] maps each face name to that family.
set(ASSETS_FONTS
  "Univers.ttf|Univers ATT|/usr/share/fonts/truetype/open-sans/OpenSans-Regular.ttf|Open Sans"
  "Goudi.ttf|Goudi Olde Style|/usr/share/fonts/opentype/sortsmill/GoudyBookletter1911.otf|Goudy Bookletter 1911"
  "BrushScr.ttf|Jikharev|/usr/share/fonts/opentype/kaushanscript/KaushanScript-Regular.otf|Kaushan Script"
  "Joff.ttf|JottFLF-BoldItalic.97|/usr/share/fonts/truetype/cabinsketch/CabinSketch-Bold.ttf|CabinSketch"
  "BDStyle.ttf|Dom Very Casual|/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf|Comic Neue"
  "Bodaciou.ttf|Bodacious-Normal|/usr/share/fonts/opentype/lobster/lobster.otf|Lobster Two"
  "Cyrillic.ttf|Cyrillic-Normal|/usr/share/fonts/truetype/klaudia-berenika/Klaudia-Bold.ttf|Klaudia"
  "Gothic.ttf|Linotext-Light|/usr/share/fonts/truetype/blankenburg/Blankenburg_UNZ1A.ttf|Blankenburg_UNZ1A"
  "MyBahaus.ttf|Lithograph Bold|/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf|Comfortaa"
  "MyLithos.ttf|Blippo|/usr/share/fonts/opentype/cherrybomb/CherryBomb-Regular.otf|Cherry Bomb"
  "UsArmy.ttf|Army Expanded|/usr/share/fonts/opentype/allerta/allerta_stencil.otf|Allerta"
  "Western.ttf|AbileneFLF.fog_|/usr/share/fonts/opentype/roboto/slab/RobotoSlab-Bold.otf|Roboto Slab"
  "Ranson.ttf|RansomNote|/usr/share/fonts/opentype/le-murmure/le-murmure.otf|Le Murmure"
  "SecretC.ttf|SecretCode-Normal|/usr/share/fonts/truetype/aenigma/binaryt.ttf|Binary BRK"
  "Outline.ttf|Alfredo Heavy Hollow Wide|/usr/share/fonts/truetype/rampart/RampartOne-Regular.ttf|Rampart One"
  "Dingbats.ttf|dingbats-Thin|/usr/share/fonts/opentype/urw-base35/D050000L.otf|D050000L")

set(ASSETS_SUBSTITUTES "")
foreach(entry IN LISTS ASSETS_FONTS)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 file)
  list(GET entry 1 face)
  list(GET entry 2 source)
  list(GET entry 3 family)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "The font ${source} is missing: install the font packages "
                        "that assets/CREDITS.md lists (./build.sh does).")
  endif()
  set(target ${ASSETS_DATA_DIR}/Polices/${file})
  add_custom_command(
    OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
    DEPENDS ${source}
    COMMENT "Copying the font ${file}"
    VERBATIM)
  list(APPEND ASSETS_OUTPUTS ${target})
  string(APPEND ASSETS_SUBSTITUTES "${face}=${family}\n")
endforeach()

# The program folder's win.ini, read after the user's own (~/.config/tavelin).
file(GENERATE OUTPUT ${ASSETS_STAMPS}/win.ini
  CONTENT "; Written by the build.\n[FontSubstitutes]\n${ASSETS_SUBSTITUTES}")
add_custom_command(
  OUTPUT ${ASSETS_PROGRAM_DIR}/win.ini
  COMMAND ${CMAKE_COMMAND} -E copy ${ASSETS_STAMPS}/win.ini ${ASSETS_PROGRAM_DIR}/win.ini
  DEPENDS ${ASSETS_STAMPS}/win.ini
  COMMENT "Writing win.ini"
  VERBATIM)
list(APPEND ASSETS_OUTPUTS ${ASSETS_PROGRAM_DIR}/win.ini)

add_custom_target(tavelin_data ALL DEPENDS ${ASSETS_OUTPUTS})
# The program target is made after this file is read.
cmake_language(DEFER CALL add_dependencies tavelin tavelin_data)
