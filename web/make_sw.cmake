# Writes the service worker from its template with the list of the site's files and a digest of
# their contents. Variables: SITE (the site's folder), FILES (its files, ;-separated), TEMPLATE,
# OUTPUT.
cmake_minimum_required(VERSION 3.25)
set(digests "")
set(quoted "'./'")
foreach(f ${FILES})
    file(SHA256 ${SITE}/${f} digest)
    string(APPEND digests ${digest})
    string(APPEND quoted ", '${f}'")
endforeach()
file(READ ${TEMPLATE} worker)
string(SHA256 digest "${digests}")
string(SUBSTRING ${digest} 0 16 digest)
string(REPLACE "@DIGEST@" "${digest}" worker "${worker}")
string(REPLACE "@FILES@" "${quoted}" worker "${worker}")
file(WRITE ${OUTPUT} "${worker}")
