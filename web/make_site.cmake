# Writes the site's page and web app manifest with every file they use addressed by its contents:
# "NAME" becomes "NAME?v=SHA256" (hexadecimal), so that a page names exactly the files it was built
# with, the service worker can check each file it keeps against its digest, and a new build's
# files never meet an old one's in a cache. Variables: SITE (the site's folder, which holds the
# files), PAGE and MANIFEST (the unstamped page and manifest).
cmake_minimum_required(VERSION 3.25)

# TEXT with every quoted name among NAMES followed by the digest of that file in SITE.
function(stamp text names out)
    foreach(name ${names})
        file(SHA256 ${SITE}/${name} digest)
        string(REPLACE "\"${name}\"" "\"${name}?v=${digest}\"" text "${text}")
    endforeach()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${MANIFEST} manifest)
stamp("${manifest}" "korzenik.svg" manifest)
file(WRITE ${SITE}/manifest.webmanifest "${manifest}")

file(READ ${PAGE} page)
stamp("${page}" "korzenik.css;korzenik.js;korzenik.wasm;korzenik.svg;manifest.webmanifest" page)
file(WRITE ${SITE}/index.html "${page}")
