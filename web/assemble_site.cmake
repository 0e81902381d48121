# Assembles the static site in SITE_DIR (run by the heikosen_site target):
#   SOURCE_DIR     web/, with the page in site/
#   RESOURCES_DIR  resources/, with the icons and the letter pictures
#   MODULE         the module's JavaScript, put in program.js; its .wasm lies beside it
#   NODE_MODULE    the same bindings built for Node, run by prerender.mjs
#   FIT_MODULE     the form's first fit, a module of its own put in the page
#   NODE           Node
#   VERSION        the program's version
#   PAGES          the page's files copied as they are, relative to SOURCE_DIR
#
# index.html carries its style sheet and the initial screen, with small letter
# pictures (the program's own are letters/NAME.png), so that the first frame
# shows the window and its figure before the page's program and the module's
# code have come.

file(REMOVE_RECURSE ${SITE_DIR})
file(MAKE_DIRECTORY ${SITE_DIR}/icons ${SITE_DIR}/letters)

# Copies `from` to `to` (relative to SITE_DIR) and lists it among the site's files.
set(files "")
function(put from to)
    file(COPY_FILE ${from} ${SITE_DIR}/${to})
    list(APPEND files ${to})
    set(files ${files} PARENT_SCOPE)
endfunction()

foreach(page IN LISTS PAGES)
    get_filename_component(name ${page} NAME)
    put(${SOURCE_DIR}/${page} ${name})
endforeach()
get_filename_component(module_dir ${MODULE} DIRECTORY)
get_filename_component(module_name ${MODULE} NAME_WE)
put(${module_dir}/${module_name}.wasm ${module_name}.wasm)
put(${RESOURCES_DIR}/icon/heikosen.svg icons/heikosen.svg)
foreach(size 48 128 192 256 512)
    put(${RESOURCES_DIR}/icon/hicolor/${size}x${size}/apps/heikosen.png icons/heikosen-${size}.png)
endforeach()
foreach(size 192 512)
    put(${RESOURCES_DIR}/icon/maskable/heikosen-${size}.png icons/heikosen-maskable-${size}.png)
endforeach()
file(GLOB letters RELATIVE ${RESOURCES_DIR} ${RESOURCES_DIR}/letters/*.png)
foreach(letter IN LISTS letters)
    put(${RESOURCES_DIR}/${letter} ${letter})
endforeach()

# The page's program: its modules and the module's JavaScript in one script.
execute_process(
    COMMAND ${NODE} ${SOURCE_DIR}/program.mjs ${MODULE} ${SOURCE_DIR}/site ${SITE_DIR}/program.js
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "writing program.js failed: ${failed}")
endif()
list(APPEND files program.js)

# index.html with the style sheet and the initial screen in it, written by the
# core under Node.
execute_process(
    COMMAND ${NODE} ${SOURCE_DIR}/prerender.mjs ${NODE_MODULE} ${SOURCE_DIR}/site/index.html
            ${SOURCE_DIR}/site/style.css ${RESOURCES_DIR}/letters/screen ${FIT_MODULE}
            ${SITE_DIR}/index.html
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "writing index.html failed: ${failed}")
endif()
list(APPEND files index.html)

# Every file of the site, and a hash of them all for the cache's name.
list(SORT files)
set(hashes "")
set(HEIKOSEN_SITE_FILES "'./'")
foreach(file IN LISTS files)
    file(SHA256 ${SITE_DIR}/${file} hash)
    string(APPEND hashes "${file} ${hash}\n")
    string(APPEND HEIKOSEN_SITE_FILES ", '${file}'")
endforeach()
string(SHA256 build_hash "${hashes}")
string(SUBSTRING ${build_hash} 0 12 build_hash)
set(HEIKOSEN_SITE_VERSION "${VERSION}-${build_hash}")
configure_file(${SOURCE_DIR}/site/sw.js ${SITE_DIR}/sw.js @ONLY)
