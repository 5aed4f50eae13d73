# Initial cache for building the Debian package (cmake -C this-file): Debian's compiler and
# linker flags, hardening included, as dpkg-buildflags gives them, and nothing on top of them (the
# build type None adds no flags of its own), so that DEB_BUILD_OPTIONS=noopt takes effect. CMake
# has no CPPFLAGS, so the preprocessor flags (_FORTIFY_SOURCE) go with the compiler's. dpkg-buildflags maps the source
# directory out of the debugging paths; the build directory is mapped too, so that builds in two
# places make the same binaries (their build IDs hash those paths, and stay after stripping).
function(dpkg_buildflag name result)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            dpkg-buildflags --get ${name}
        OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(${result} "${value}" PARENT_SCOPE)
endfunction()

dpkg_buildflag(CPPFLAGS cppflags)
dpkg_buildflag(CXXFLAGS cxxflags)
dpkg_buildflag(LDFLAGS ldflags)
set(CMAKE_CXX_FLAGS "${cppflags} ${cxxflags} -ffile-prefix-map=${CMAKE_BINARY_DIR}=."
    CACHE STRING "dpkg-buildflags" FORCE)
set(CMAKE_EXE_LINKER_FLAGS "${ldflags}" CACHE STRING "dpkg-buildflags" FORCE)
# rainbowtext-cli's drawing module is linked as a module.
set(CMAKE_MODULE_LINKER_FLAGS "${ldflags}" CACHE STRING "dpkg-buildflags" FORCE)
# Over the Release that scripts/setup names before this file.
set(CMAKE_BUILD_TYPE None CACHE STRING "dpkg-buildflags alone" FORCE)
