# Writes the site's page with every file it uses addressed by its contents:
# "NAME" becomes "NAME?v=SHA256" (hexadecimal), so that a page names exactly the files it was built
# with, the service worker can check each file it keeps against its digest, and a new build's
# files never meet an old one's in a cache. The scripts go without their comments, which only
# their readers in the sources need, and without blank lines and the indentation of their lines.
# Variables: SITE (the site's folder, which holds the other files), PAGE (the unstamped page),
# MANIFEST (the web app manifest, which names no file), SCRIPT and WORKER (the page's script and
# the service worker).
cmake_minimum_required(VERSION 3.25)

# A script without its lines that hold a comment only, the comments after code (two blanks, "//"
# and a blank, as the sources write them), its blank lines and the blanks that lead its lines. No
# text in the scripts runs over a line's end, and none holds such a comment's start.
function(shipped source target)
    file(READ ${source} text)
    string(REGEX REPLACE "\n[ ]*//[^\n]*" "" text "\n${text}")
    string(REGEX REPLACE "  // [^\n]*" "" text "${text}")
    string(REGEX REPLACE "\n[ \n]+" "\n" text "${text}")
    string(SUBSTRING "${text}" 1 -1 text)
    file(WRITE ${target} "${text}")
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
