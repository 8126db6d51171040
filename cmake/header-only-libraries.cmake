# CLI11 and nlohmann/json, the libraries of drives-tesk-results, both headers only. They come from
# the system where it has them (Debian: libcli11-dev, nlohmann-json3-dev), else from their
# release archives, fetched at configure time and checked against the hashes below. Either way
# the targets CLI11::CLI11 and nlohmann_json::nlohmann_json carry the folder of their headers.

option(DRIVES_TESK_FETCH_LIBRARIES
       "Fetch CLI11 and nlohmann/json for drives-tesk-results where they are not installed" ON)

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Debian installs the headers under /usr/include, beside the Linux C library's headers, which a
  # Windows build must not search; the build tree gets a folder that holds just these two.
  find_path(DRIVES_TESK_HOST_INCLUDE NAMES CLI/CLI.hpp nlohmann/json.hpp PATHS /usr/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(DRIVES_TESK_HOST_INCLUDE AND EXISTS ${DRIVES_TESK_HOST_INCLUDE}/nlohmann/json.hpp)
    set(headers ${CMAKE_BINARY_DIR}/header-only-libraries)
    foreach(library CLI nlohmann)
      file(MAKE_DIRECTORY ${headers})
      file(CREATE_LINK ${DRIVES_TESK_HOST_INCLUDE}/${library} ${headers}/${library} SYMBOLIC)
    endforeach()
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(CLI11::CLI11 nlohmann_json::nlohmann_json PROPERTIES
                          INTERFACE_INCLUDE_DIRECTORIES ${headers})
    set(CLI11_FOUND TRUE)
    set(nlohmann_json_FOUND TRUE)
  endif()
else()
  find_package(CLI11 CONFIG QUIET)
  find_package(nlohmann_json 3 CONFIG QUIET)
endif()

if(DRIVES_TESK_FETCH_LIBRARIES AND NOT (CLI11_FOUND AND nlohmann_json_FOUND))
  include(FetchContent)
  # The versions Debian bookworm ships, as the source archives of their release tags. Only each
  # archive's include/ folder is used: SOURCE_SUBDIR names a folder without a CMakeLists.txt, so
  # the libraries' own builds stay out of this one. FETCHCONTENT_SOURCE_DIR_CLI11 and
  # FETCHCONTENT_SOURCE_DIR_NLOHMANN_JSON take a folder laid out as the archive instead.
  # CLI11 2.1.2: CLI11-2.1.2.tar.gz, the archive of the tag v2.1.2.
  FetchContent_Declare(cli11
    URL https://github.com/CLIUtils/CLI11/archive/v2.1.2.tar.gz
    URL_HASH SHA256=26291377e892ba0e5b4972cdfd4a2ab3bf53af8dac1f4ea8fe0d1376b625c8cb
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE
    SOURCE_SUBDIR include)
  # nlohmann/json 3.11.2: json-3.11.2.tar.gz, the archive of the tag v3.11.2.
  FetchContent_Declare(nlohmann_json
    URL https://github.com/nlohmann/json/archive/refs/tags/v3.11.2.tar.gz
    URL_HASH SHA256=d69f9deb6a75e2580465c6c4c5111b89c4dc2fa94e3a85fcd2ffcd9a143d9273
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE
    SOURCE_SUBDIR include)
  # Imported, so that the compilers take the headers as a system's and the warnings of this
  # project's build stay its own.
  if(NOT CLI11_FOUND)
    FetchContent_MakeAvailable(cli11)
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    set_target_properties(CLI11::CLI11 PROPERTIES
                          INTERFACE_INCLUDE_DIRECTORIES ${cli11_SOURCE_DIR}/include)
    set(CLI11_FOUND TRUE)
  endif()
  if(NOT nlohmann_json_FOUND)
    FetchContent_MakeAvailable(nlohmann_json)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                          INTERFACE_INCLUDE_DIRECTORIES ${nlohmann_json_SOURCE_DIR}/include)
    set(nlohmann_json_FOUND TRUE)
  endif()
endif()
