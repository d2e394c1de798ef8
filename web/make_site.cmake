# Writes the site's page with every file it uses addressed by its contents:
# "NAME" becomes "NAME?v=SHA256" (hexadecimal), so that a page names exactly the files it was built
# with, the service worker can check each file it keeps against its digest, and a new build's
# files never meet an old one's in a cache. The scripts go as Debian's terser minifies them:
# without the comments and the layout that only their readers in the sources need, their local
# names shortened. Variables: SITE (the site's folder, which holds the other files), PAGE (the
# unstamped page), MANIFEST (the web app manifest, which names no file), SCRIPT and WORKER (the
# page's script and the service worker), NODE, NODE_PATH and TERSER (node, Debian's folder of
# node modules, and terser's program).
cmake_minimum_required(VERSION 3.25)

function(shipped source target)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${NODE_PATH}
                ${NODE} ${TERSER} ${source} --compress --mangle --output ${target}
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "terser could not minify ${source}")
    endif()
endfunction()
shipped(${SCRIPT} ${SITE}/korzenik.js)
shipped(${WORKER} ${SITE}/sw.js)

# TEXT with every quoted name among NAMES followed by the digest of that file in SITE.
function(stamp text names out)
    foreach(name ${names})
        file(SHA256 ${SITE}/${name} digest)
        string(REPLACE "\"${name}\"" "\"${name}?v=${digest}\"" text "${text}")
    endforeach()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(COPY_FILE ${MANIFEST} ${SITE}/manifest.webmanifest)

file(READ ${PAGE} page)
stamp("${page}" "korzenik.css;korzenik.js;korzenik.wasm;manifest.webmanifest" page)
file(WRITE ${SITE}/index.html "${page}")
