# Runs after CPack has made the packages (CPACK_POST_BUILD_SCRIPTS) and mends the debug-symbol
# package (the .ddeb) where CPack's differs from Debian's dbgsym packages: its md5sums name the
# files by their paths in CPack's staging folder, its .debug files are executable, and it has no
# documentation folder, which in Debian's is a link to the main package's (copyright, changelog),
# nor the Source field that says the two are of one source.
# The package is unpacked, mended and packed again, its files dated SOURCE_DATE_EPOCH as CPack
# dates them.
list(GET CPACK_PACKAGE_FILES 0 first_package)
get_filename_component(package_dir "${first_package}" DIRECTORY)
file(GLOB debug_packages "${package_dir}/*.ddeb")
foreach(package IN LISTS debug_packages)
    set(tree "${package}.tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    file(STRINGS "${tree}/DEBIAN/control" name REGEX "^Package: ")
    string(REGEX REPLACE "^Package: " "" name "${name}")
    string(REGEX REPLACE "-dbgsym$" "" main_name "${name}")
    # The source named, as in Debian's, so that the link to the main package's folder is seen to
    # stay within one source.
    file(READ "${tree}/DEBIAN/control" control)
    if(NOT control MATCHES "\nSource: ")
        string(REPLACE "Package: ${name}\n" "Package: ${name}\nSource: ${main_name}\n" control "${control}")
        file(WRITE "${tree}/DEBIAN/control" "${control}")
    endif()

    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/usr/*")
    list(SORT files)
    set(md5sums "")
    foreach(path IN LISTS files)
        file(CHMOD "${tree}/${path}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
        file(MD5 "${tree}/${path}" sum)
        string(APPEND md5sums "${sum}  ${path}\n")
    endforeach()
    file(WRITE "${tree}/DEBIAN/md5sums" "${md5sums}")
    file(MAKE_DIRECTORY "${tree}/usr/share/doc")
    file(CREATE_LINK "${main_name}" "${tree}/usr/share/doc/${name}" SYMBOLIC)

    file(GLOB_RECURSE dirs LIST_DIRECTORIES true "${tree}/*")
    foreach(path IN LISTS tree dirs)
        if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
            file(CHMOD "${path}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        endif()
    endforeach()
    file(CHMOD "${tree}/DEBIAN/md5sums" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        execute_process(COMMAND find "${tree}" -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${package}"
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
