# The distribution's hardening flags as dpkg-buildflags gives them with every hardening feature
# on: fortified functions, the stack protector, format checks, full RELRO and immediate binding.
# The sanitizer and fuzz builds bring their own instrumentation and go without.
option(KORVANE_DISTRO_FLAGS "Build with the distribution's hardening flags (dpkg-buildflags)" ON)
if(KORVANE_DISTRO_FLAGS AND NOT KORVANE_SANITIZE AND NOT KORVANE_FUZZ)
  find_program(KORVANE_DPKG_BUILDFLAGS dpkg-buildflags)
  if(KORVANE_DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${KORVANE_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
      separate_arguments(flags UNIX_COMMAND "${flags}")
      # The build type chooses optimisation and debug information; a path map that names this
      # folder would keep the compiler cache from being shared between checkouts.
      list(FILTER flags EXCLUDE REGEX "^-ffile-prefix-map=|^-g$|^-O")
      set(KORVANE_${kind} ${flags})
    endforeach()
    add_compile_options(${KORVANE_CPPFLAGS} ${KORVANE_CXXFLAGS})
    add_link_options(${KORVANE_LDFLAGS})
  else()
    message(STATUS "dpkg-buildflags not found: building without the distribution's hardening")
  endif()
endif()
