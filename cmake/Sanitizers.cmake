# FWCOMMON_SANITIZE=address,undefined or thread instruments every target.
if(FWCOMMON_SANITIZE)
    set(_fwcommon_san_flags -fsanitize=${FWCOMMON_SANITIZE} -fno-omit-frame-pointer)
    if(FWCOMMON_SANITIZE MATCHES "undefined")
        list(APPEND _fwcommon_san_flags -fno-sanitize-recover=undefined)
    endif()
    add_compile_options(${_fwcommon_san_flags})
    add_link_options(-fsanitize=${FWCOMMON_SANITIZE})
endif()
