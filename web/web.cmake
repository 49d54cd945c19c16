# The page: the game compiled to WebAssembly with the browser's backend, its data preloaded, and
# the static HTML beside it in page/ of the build folder. Included by the top CMakeLists.txt when
# it runs under emcmake, before the layers, which it builds as the desktop does but for what the
# variables below leave out; nothing here needs SDL or libpng.

# The JSON library is headers only: the distribution's copy serves the browser's compiler too,
# through a folder holding just it, so no other system header gets in the way.
find_path(GROTMERE_JSON_HEADERS nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
    REQUIRED)
set(json_root ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${json_root})
file(CREATE_LINK ${GROTMERE_JSON_HEADERS}/nlohmann ${json_root}/nlohmann SYMBOLIC)
add_library(grotmere_json INTERFACE)
target_include_directories(grotmere_json SYSTEM INTERFACE ${json_root})

# What a visitor waits for is the page's size: the page is built for its size, and a pass still
# takes a millisecond or two.
set(CMAKE_CXX_FLAGS_MINSIZEREL "-Os -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL "-Oz")

# The game's own exit unwinds to the entry point as an exception.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
# A frame clears and copies a megabyte: memset and memcpy become WebAssembly's own memory.fill and
# memory.copy (bulk memory, in every browser since 2020) instead of loops of stores.
add_compile_options(-mbulk-memory)
add_link_options(-mbulk-memory)

# What the page leaves out of the layers: the window's backend, the PNG writer, and the programs
# besides its own (the simulator writes PNG screenshots).
set(json_library grotmere_json)
set(platform_libraries)
set(platform_left_out backend_sdl png_writer)
set(shell_left_out main sim_main soak_main gen_main simulator web_main)

# The page's program, once the layers stand.
function(grotmere_page)
    set(page ${CMAKE_BINARY_DIR}/page)
    add_executable(grotmere shell/web_main.cpp)
    target_link_libraries(grotmere PRIVATE grotmere_shell)
    set_target_properties(grotmere PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page} SUFFIX .js)
    # The game's loop waits for its timer inside the pass, as on the desktop: Asyncify lets that
    # wait hand the browser back its main loop. Asyncify makes every function that might be on the
    # stack during a wait able to unwind and rewind it, which nearly doubles the code;
    # web/never_waits.json names the code that is never on the stack then (the generator, the record
    # loader, JSON, text formatting, the C library's number reading and writing), which keeps the
    # page within 600 KiB. Nothing that may call a notice or the frame's wait may stand in it. The
    # shipped data lies in /game, the player's files in /data (the page keeps them in the browser's
    # IndexedDB).
    target_link_options(grotmere PRIVATE
        -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH -sTOTAL_STACK=1048576
        -sENVIRONMENT=web -sEXIT_RUNTIME=0 -lidbfs.js
        "SHELL:-sASYNCIFY_REMOVE=@${CMAKE_SOURCE_DIR}/web/never_waits.json"
        -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency
        -sEXPORTED_FUNCTIONS=_main,_web_page_hidden,_web_write_out,_web_button_key
        "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/bifs@/game/bifs"
        "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/build.cnt@/game/build.cnt")
    # The data is packed when the game is linked: a changed data file links it again.
    file(GLOB_RECURSE shipped_data CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bifs/*)
    set_property(TARGET grotmere APPEND PROPERTY LINK_DEPENDS ${shipped_data}
        ${CMAKE_SOURCE_DIR}/build.cnt ${CMAKE_SOURCE_DIR}/web/never_waits.json)
    configure_file(web/index.html ${page}/index.html COPYONLY)
endfunction()
