# The release date in the forms the documents want, from KADRIX_RELEASE_DATE
# (YYYY-MM-DD): KADRIX_RELEASE_MONTH for the manual pages ("December 2026")
# and KADRIX_RELEASE_DATE_RFC2822 for the Debian changelog
# ("Tue, 08 Dec 2026 00:00:00 +0000").
if(NOT KADRIX_RELEASE_DATE MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "KADRIX_RELEASE_DATE wants YYYY-MM-DD: \"${KADRIX_RELEASE_DATE}\"")
endif()
math(EXPR _year "${CMAKE_MATCH_1}")
math(EXPR _month "${CMAKE_MATCH_2}")
set(_day ${CMAKE_MATCH_3})

set(_months January February March April May June July August September October November
    December)
math(EXPR _index "${_month} - 1")
list(GET _months ${_index} _month_name)
string(SUBSTRING ${_month_name} 0 3 _month_short)
set(KADRIX_RELEASE_MONTH "${_month_name} ${_year}")

# Day of the week by Sakamoto's method (0 is Sunday).
set(_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
list(GET _offsets ${_index} _offset)
set(_y ${_year})
if(_month LESS 3)
    math(EXPR _y "${_y} - 1")
endif()
math(EXPR _weekday "(${_y} + ${_y} / 4 - ${_y} / 100 + ${_y} / 400 + ${_offset} + ${_day}) % 7")
set(_weekdays Sun Mon Tue Wed Thu Fri Sat)
list(GET _weekdays ${_weekday} _weekday_name)
set(KADRIX_RELEASE_DATE_RFC2822 "${_weekday_name}, ${_day} ${_month_short} ${_year} 00:00:00 +0000")
