# What `cmake --install` puts where, and the packages CPack makes of it: a Debian package on Linux
# (workflow preset `package`), a zip on Windows (`package-windows`). The version is the project's.

# The date the manual pages carry; change it with the version.
set(DRIVES_TESK_RELEASE_DATE "2026-12-08")

if(WIN32)
  # The zip: the programs, and as text with Windows line ends the README, the licence and the
  # companion's PowerShell completion (kept under completions/), nothing else needed.
  install(TARGETS drives-tesk RUNTIME DESTINATION .)
  set(texts README.md:README.txt LICENSE:LICENSE.txt)
  if(TARGET drives-tesk-results)
    install(TARGETS drives-tesk-results RUNTIME DESTINATION .)
    list(APPEND texts completions/drives-tesk-results.ps1:drives-tesk-results.ps1)
  endif()
  foreach(text IN LISTS texts)
    string(REPLACE ":" ";" text "${text}")
    list(GET text 0 source)
    list(GET text 1 target)
    file(READ ${PROJECT_SOURCE_DIR}/${source} content)
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE ${PROJECT_BINARY_DIR}/${target} "${content}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    install(FILES ${PROJECT_BINARY_DIR}/${target} DESTINATION .)
  endforeach()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME drives-tesk-${PROJECT_VERSION}-windows-x86_64)
else()
  include(GNUInstallDirs)
  set(pages drives-tesk)
  install(TARGETS drives-tesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET drives-tesk-results)
    install(TARGETS drives-tesk-results RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    list(APPEND pages drives-tesk-results)
    # The companion's completions, where bash-completion, zsh and fish look for them. They are
    # what `drives-tesk-results completions SHELL` writes, kept under completions/ (a test keeps
    # them current), so packaging needs no run of the program.
    set(completions ${CMAKE_INSTALL_DATAROOTDIR})
    install(FILES completions/drives-tesk-results.bash
            DESTINATION ${completions}/bash-completion/completions RENAME drives-tesk-results)
    install(FILES completions/_drives-tesk-results DESTINATION ${completions}/zsh/vendor-completions)
    install(FILES completions/drives-tesk-results.fish
            DESTINATION ${completions}/fish/vendor_completions.d)
  endif()

  # Manual pages, filled with the version and compressed without a time stamp (gzip -n), as
  # Debian wants them; likewise the changelog.
  set(DRIVES_TESK_MAN_DATE ${DRIVES_TESK_RELEASE_DATE})
  set(compressed)
  foreach(page IN LISTS pages)
    configure_file(man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
    add_custom_command(OUTPUT man/${page}.1.gz
      COMMAND gzip -9n -c ${page}.1 > ${page}.1.gz
      DEPENDS ${PROJECT_BINARY_DIR}/man/${page}.1
      WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/man)
    list(APPEND compressed ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  endforeach()
  add_custom_command(OUTPUT changelog.gz
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > changelog.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
  add_custom_target(documentation ALL DEPENDS ${compressed} changelog.gz)
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(docs ${CMAKE_INSTALL_DATAROOTDIR}/doc/drives-tesk)
  install(FILES README.md packaging/copyright ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${docs})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Dependencies computed from the binaries by dpkg-shlibdeps (libc6, libgomp1, libstdc++6, ...).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER
      "drives-tesk developers <drives-tesk@users.noreply.example.org>")
  # Lines of the extended description stay under 80 characters (lintian).
  set(CPACK_PACKAGE_DESCRIPTION
      "drives-tesk measures how fast the file system of the current directory\n"
      "creates, opens, closes and removes small files, how many flushed\n"
      "single-byte accesses it takes per second, and how fast it moves a 4 MiB\n"
      "file in one block. It measures on one thread, then with one worker per\n"
      "hardware thread. drives-tesk-results shows, compares, charts and exports\n"
      "its results files and removes the scratch files a run leaves.")
  string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
  # Debian's binaries are stripped; the debugging symbols would only make the package larger.
  # lintian then still notes (at its informational level only) the compiler's .comment section,
  # binary-has-unneeded-section: it holds the compiler's version and costs a few bytes.
  set(CPACK_STRIP_FILES ON)
endif()

set(CPACK_PACKAGE_NAME drives-tesk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "drives-tesk developers")
set(CPACK_PACKAGE_CONTACT "drives-tesk developers <drives-tesk@users.noreply.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "benchmark of the drive that holds the current directory")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
