# Run by CPack on the staged files of the Debian package, before it is
# built: adds the copyright file, the changelog and lintian's overrides, and
# compresses the manual pages and the changelog as Debian's policy asks
# (gzip -9, without a name or time stamp so that the package is reproducible).
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(package ${CPACK_PACKAGE_NAME})
set(doc ${root}/share/doc/${package})

file(MAKE_DIRECTORY ${doc} ${root}/share/lintian/overrides)
file(COPY_FILE ${CPACK_KADRIX_DEBIAN_DIR}/copyright ${doc}/copyright)
file(COPY_FILE ${CPACK_KADRIX_DEBIAN_DIR}/changelog.Debian ${doc}/changelog.Debian)
file(COPY_FILE ${CPACK_KADRIX_DEBIAN_DIR}/lintian-overrides
     ${root}/share/lintian/overrides/${package})

file(GLOB pages ${root}/share/man/man*/*.[1-9])
foreach(file IN LISTS pages ITEMS ${doc}/changelog.Debian)
    execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip failed on ${file}")
    endif()
endforeach()

# Files keep the mode the staging gave them; Debian wants 0644 for data.
file(GLOB_RECURSE data LIST_DIRECTORIES false ${root}/share/*)
file(CHMOD ${data} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
