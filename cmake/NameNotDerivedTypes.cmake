# cmake -DFILE=<generated.cxx> -P NameNotDerivedTypes.cmake
#
# The XSD runtime reports an xsi:type that is not derived from an element's
# declared type with an exception that names neither type. This rewrites each
# such throw in the generated parser into a call that names both. Member
# parsers call the current element `i`, root parse functions call it `e`.
file(READ "${FILE}" text)
set(between "\\* > \\(tmp\\.get \\(\\)\\)\\);([^;]*;[^;]*)")
set(bare_throw "throw ::xsd::cxx::tree::not_derived< wchar_t > \\(\\);")
string(REGEX REPLACE "dynamic_cast< ([A-Za-z_]+_type)${between}${bare_throw}"
       "dynamic_cast< \\1* > (tmp.get ()));\\2::fwcommon::document::ThrowNotDerived (i, typeid (\\1));"
       text "${text}")
string(REGEX REPLACE "dynamic_cast< (::Sarvo::[A-Za-z_]+)${between}${bare_throw}"
       "dynamic_cast< \\1* > (tmp.get ()));\\2::fwcommon::document::ThrowNotDerived (e, typeid (\\1));"
       text "${text}")
string(FIND "${text}" "not_derived< wchar_t > ()" left)
if(NOT left EQUAL -1)
    message(FATAL_ERROR "${FILE}: a not_derived throw was left unnamed")
endif()
file(WRITE "${FILE}" "${text}")
