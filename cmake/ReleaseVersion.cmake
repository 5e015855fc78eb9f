# The game's version and the day it was released live in one place, the newest entry of
# debian/changelog: the Debian package takes them from there, and so does the build, for
# `boughfall --version`, the manual page and the metainfo's release. A release is a new entry
# at the top of that file (`dch -v 0.2.0`, or written by hand in the same shape).
#
# bf_read_release(FILE VERSION_VAR DATE_VAR) sets VERSION_VAR to the upstream version of the
# newest entry ("0.1.0" of "boughfall (0.1.0)" or of "boughfall (0.1.0-2)") and DATE_VAR to its
# day as YYYY-MM-DD, from the entry's trailer line (" -- Name <mail>  Mon, 07 Dec 2026 ...").
function(bf_read_release pFile pVersionVar pDateVar)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${pFile})
    file(READ ${pFile} strText)
    if(NOT strText MATCHES "^boughfall \\(([0-9]+\\.[0-9]+\\.[0-9]+)(-[^)]+)?\\) ")
        message(FATAL_ERROR "${pFile}: the first line is not \"boughfall (X.Y.Z) ...\"")
    endif()
    set(strVersion ${CMAKE_MATCH_1})
    if(NOT strText MATCHES
            "\n -- [^\n]+>  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        message(FATAL_ERROR "${pFile}: the newest entry has no trailer line with a date "
            "(\" -- Name <mail>  Mon, 07 Dec 2026 09:00:00 +0000\")")
    endif()
    set(tMonths Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND tMonths ${CMAKE_MATCH_2} iMonth)
    if(iMonth LESS 0)
        message(FATAL_ERROR "${pFile}: \"${CMAKE_MATCH_2}\" is not a month")
    endif()
    math(EXPR iMonth "${iMonth} + 1" OUTPUT_FORMAT DECIMAL)
    string(LENGTH "${CMAKE_MATCH_1}" iDigits)
    set(strDay ${CMAKE_MATCH_1})
    if(iDigits EQUAL 1)
        set(strDay 0${strDay})
    endif()
    if(iMonth LESS 10)
        set(iMonth 0${iMonth})
    endif()
    set(${pVersionVar} ${strVersion} PARENT_SCOPE)
    set(${pDateVar} ${CMAKE_MATCH_3}-${iMonth}-${strDay} PARENT_SCOPE)
endfunction()
