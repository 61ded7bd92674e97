# The program's version data and the maker's details, in one place. They reach the About box
# (through the generated app/version.h), the desktop entry and the AppStream metadata.
set(RQ508_APP_ID "com.example.rq508")
set(RQ508_COMPANY_NAME "Example Controls")
set(RQ508_LEGAL_COPYRIGHT "Copyright (C) 2026 Example Controls")
set(RQ508_SUPPORT_TELEPHONE "+1 555-0123")
set(RQ508_WEB_ADDRESS "https://www.example.com/")
set(RQ508_FILE_DESCRIPTION "Gateway Configuration Software")
set(RQ508_INTERNAL_NAME "RQ-508")
set(RQ508_ORIGINAL_FILENAME "RQ-508.exe")
# The short version the program shows ("2.2.0"); the file version carries the build number.
set(RQ508_SHORT_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(RQ508_PRODUCT_NAME "RQ-508 V${RQ508_SHORT_VERSION}")

set(RQ508_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${RQ508_GENERATED_DIR}/app/version.h @ONLY)

# Header-only: whoever shows version data links this and includes "app/version.h".
add_library(rq508_version INTERFACE)
target_include_directories(rq508_version INTERFACE ${RQ508_GENERATED_DIR})
