# Builds the layering probes of tests/structure: the allowed include must
# compile, each wrong-way include must fail for want of the header.

function(build_probe target result output)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                    RESULT_VARIABLE code OUTPUT_VARIABLE text ERROR_VARIABLE text)
    set(${result} ${code} PARENT_SCOPE)
    set(${output} "${text}" PARENT_SCOPE)
endfunction()

build_probe(structure_store_uses_domain code text)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "a store file could not include a domain header:\n${text}")
endif()

foreach(probe "structure_store_reaches_context;context/PrivateObjectListener.h"
              "structure_domain_reaches_store;store/XmlReader.h")
    list(GET probe 0 target)
    list(GET probe 1 header)
    build_probe(${target} code text)
    if(code EQUAL 0)
        message(FATAL_ERROR "${target}: the build accepted the wrong-way include of ${header}")
    endif()
    string(FIND "${text}" "${header}: No such file or directory" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${target} failed, but not for want of ${header}:\n${text}")
    endif()
    message(STATUS "${target}: refused ${header}")
endforeach()
