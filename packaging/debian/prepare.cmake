# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the staged files of every
# package, before it packs them:
# - strips them as Debian does: executables and the shared library lose their
#   symbol tables (the library keeps its dynamic symbols), the .comment and
#   .note sections; the static library loses its debug information only, with
#   deterministic archive headers;
# - writes the shared library's symbols file: every exported symbol with the
#   first version that had it, from packaging/debian/libzu-complex1.symbols
#   (a symbol not listed there is new in this version; one that has
#   disappeared fails the build, as it breaks the ABI).
# CPACK_ZU_* variables come from cmake/ZuComplexPackaging.cmake.

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ZuRunCommand.cmake)

set(drop_sections --remove-section=.comment --remove-section=.note)
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
    if(IS_SYMLINK "${file}")
        continue()
    endif()
    if(file MATCHES "\\.a$")
        zu_run_command(${CPACK_ZU_STRIP} --strip-debug ${drop_sections} --enable-deterministic-archives "${file}")
    elseif(file MATCHES "/lib/.*\\.so[.0-9]*$")
        zu_run_command(${CPACK_ZU_STRIP} --strip-unneeded ${drop_sections} "${file}")
        set(shared_library "${file}")
    elseif(file MATCHES "/bin/[^/]+$")
        zu_run_command(${CPACK_ZU_STRIP} ${drop_sections} "${file}")
    endif()
endforeach()

if(NOT shared_library)
    message(FATAL_ERROR "no shared library among the staged files")
endif()
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
zu_run_command(dpkg-gensymbols -q -c1
    -p${CPACK_ZU_RUNTIME_PACKAGE} -v${CPACK_PACKAGE_VERSION} -a${arch}
    -I${CPACK_ZU_SYMBOLS_TEMPLATE} -e${shared_library} -O${CPACK_ZU_SYMBOLS_FILE})
