# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the site's service worker from its template, at build time: the list
# of the files it keeps for offline use, and a version drawn from their
# contents, so that any change to the site gives the browser a changed worker.
#   cmake -DSITE=DIR -DTEMPLATE=sw.js -DOUTPUT=DIR/sw.js -DFILES="a;b;..." -P SiteServiceWorker.cmake
set(digests "")
set(IONARIA_SITE_FILES "")
foreach(relative IN LISTS FILES)
    if(NOT EXISTS "${SITE}/${relative}")
        message(FATAL_ERROR "the site lacks ${relative}")
    endif()
    file(SHA256 "${SITE}/${relative}" digest)
    string(APPEND digests "${relative}:${digest}\n")
    if(IONARIA_SITE_FILES)
        string(APPEND IONARIA_SITE_FILES ",")
    endif()
    string(APPEND IONARIA_SITE_FILES "\n  \"./${relative}\"")
endforeach()
string(APPEND IONARIA_SITE_FILES "\n")
file(READ "${TEMPLATE}" template)
string(APPEND digests "${template}")
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 16 IONARIA_SITE_VERSION)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
