# Assembles the static site in SITE_DIR (run by the heikosen_site target):
#   SOURCE_DIR     web/, with the page in site/
#   RESOURCES_DIR  resources/, with the icons and the letter pictures
#   MODULE         the module's JavaScript; its .wasm lies beside it
#   VERSION        the program's version
#   PAGES          the page's files copied as they are, relative to SOURCE_DIR
#   LETTERS        the names of the letter pictures (resources/letters/NAME.png)
#
# The page comes in as few files as it can: index.html carries its style sheet
# and the letter pictures, so that the first frame of the figure waits
# only for the page, its modules and the module's code.

file(REMOVE_RECURSE ${SITE_DIR})
file(MAKE_DIRECTORY ${SITE_DIR}/icons)

# Copies `from` to `to` (relative to SITE_DIR) and lists it among the site's files.
set(files "")
function(put from to)
    file(COPY_FILE ${from} ${SITE_DIR}/${to})
    list(APPEND files ${to})
    set(files ${files} PARENT_SCOPE)
endfunction()

# The base64 text of a file's bytes.
function(base64 file out)
    set(digits "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
    file(READ ${file} hex HEX)
    # Padded with zero bytes to whole groups of three; the characters that stand
    # only for the padding become "=" at the end.
    string(LENGTH "${hex}" length)
    math(EXPR rest "${length} % 6")
    set(padding 0)
    if(rest EQUAL 2)
        set(padding 2)
        string(APPEND hex "0000")
    elseif(rest EQUAL 4)
        set(padding 1)
        string(APPEND hex "00")
    endif()
    string(LENGTH "${hex}" length)
    set(text "")
    set(at 0)
    while(at LESS length)
        string(SUBSTRING "${hex}" ${at} 6 group)
        math(EXPR bits "0x${group}")
        foreach(shift 18 12 6 0)
            math(EXPR digit "(${bits} >> ${shift}) & 63")
            string(SUBSTRING ${digits} ${digit} 1 char)
            string(APPEND text "${char}")
        endforeach()
        math(EXPR at "${at} + 6")
    endwhile()
    if(padding GREATER 0)
        string(LENGTH "${text}" kept)
        math(EXPR kept "${kept} - ${padding}")
        string(SUBSTRING "${text}" 0 ${kept} text)
        string(REPEAT "=" ${padding} pad)
        string(APPEND text "${pad}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

foreach(page IN LISTS PAGES)
    get_filename_component(name ${page} NAME)
    put(${SOURCE_DIR}/${page} ${name})
endforeach()
get_filename_component(module_dir ${MODULE} DIRECTORY)
get_filename_component(module_name ${MODULE} NAME_WE)
put(${MODULE} ${module_name}.js)
put(${module_dir}/${module_name}.wasm ${module_name}.wasm)
put(${RESOURCES_DIR}/icon/heikosen.svg icons/heikosen.svg)
foreach(size 48 128 256)
    put(${RESOURCES_DIR}/icon/hicolor/${size}x${size}/apps/heikosen.png icons/heikosen-${size}.png)
endforeach()

# index.html with the style sheet and the letter pictures, as data URLs by name, in it.
set(letters "{\n")
foreach(letter IN LISTS LETTERS)
    base64(${RESOURCES_DIR}/letters/${letter}.png data)
    string(APPEND letters "    ${letter}: 'data:image/png;base64,${data}',\n")
endforeach()
string(APPEND letters "  }")
file(READ ${SOURCE_DIR}/site/index.html html)
file(READ ${SOURCE_DIR}/site/style.css css)
set(link "<link rel=\"stylesheet\" href=\"style.css\">")
string(FIND "${html}" "${link}" found)
if(found EQUAL -1)
    message(FATAL_ERROR "index.html does not link style.css as ${link}")
endif()
string(REPLACE "${link}" "<style>\n${css}</style>" html "${html}")
string(REPLACE "@HEIKOSEN_LETTERS@" "${letters}" html "${html}")
file(WRITE ${SITE_DIR}/index.html "${html}")
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
