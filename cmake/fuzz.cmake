# The libFuzzer targets of tests/fuzz, built with clang when ARENIX_FUZZ is
# on (scripts/fuzz, run by the test command). They do not link the
# component's libraries: those would compile every source of the component
# a third time. The sources the targets reach are compiled once more with the
# fuzzing instrumentation, in one small static library per layer, and each
# target links the top layer it includes (the linker takes from it only what
# the target calls). A target that comes to call into a source not listed
# fails to link naming the symbol: add that source to its layer below.

set(fuzz_dir ${CMAKE_SOURCE_DIR}/src)

# The lowest layers nearly whole: every target reaches most of them.
file(GLOB fuzz_automation_srcs CONFIGURE_DEPENDS ${fuzz_dir}/automation/*.cpp)
add_library(arenix_fuzz_automation STATIC ${fuzz_automation_srcs})
target_include_directories(arenix_fuzz_automation PUBLIC ${fuzz_dir})
target_link_libraries(arenix_fuzz_automation PUBLIC PkgConfig::PCRE2)

add_library(arenix_fuzz_platform STATIC
  ${fuzz_dir}/platform/dictionary.cpp ${fuzz_dir}/platform/files.cpp ${fuzz_dir}/platform/paths.cpp
  ${fuzz_dir}/platform/regexp.cpp ${fuzz_dir}/platform/regexp_dialect.cpp ${fuzz_dir}/platform/regexp_matches.cpp
  ${fuzz_dir}/platform/sandboxed_files.cpp ${fuzz_dir}/platform/shell_file_op.cpp ${fuzz_dir}/platform/site.cpp)
target_link_libraries(arenix_fuzz_platform PUBLIC arenix_fuzz_automation)

file(GLOB fuzz_host_srcs CONFIGURE_DEPENDS ${fuzz_dir}/host/*.cpp)
add_library(arenix_fuzz_host STATIC ${fuzz_host_srcs})
target_link_libraries(arenix_fuzz_host PUBLIC arenix_fuzz_platform)

# The table files with their journal, and the statement dialect without the
# database over the tables.
file(GLOB fuzz_dbf_srcs CONFIGURE_DEPENDS ${fuzz_dir}/data/dbf/*.cpp)
add_library(arenix_fuzz_data STATIC ${fuzz_dbf_srcs} ${fuzz_dir}/data/data.cpp
  ${fuzz_dir}/data/foxsql/collation.cpp ${fuzz_dir}/data/foxsql/fox_text.cpp ${fuzz_dir}/data/foxsql/functions.cpp
  ${fuzz_dir}/data/foxsql/function_steps.cpp ${fuzz_dir}/data/foxsql/lexer.cpp ${fuzz_dir}/data/foxsql/parser.cpp
  ${fuzz_dir}/data/foxsql/statement_error.cpp
  ${fuzz_dir}/data/foxsql/translate.cpp)
target_link_libraries(arenix_fuzz_data PUBLIC arenix_fuzz_platform SQLite::SQLite3)

add_library(arenix_fuzz_component STATIC
  ${fuzz_dir}/arenix/check/guards.cpp ${fuzz_dir}/arenix/check/postcard.cpp ${fuzz_dir}/arenix/check/refuse.cpp
  ${fuzz_dir}/arenix/check/validators.cpp ${fuzz_dir}/arenix/file/file_ops.cpp
  ${fuzz_dir}/arenix/page/data_source.cpp ${fuzz_dir}/arenix/page/error_page.cpp ${fuzz_dir}/arenix/page/window_scripts.cpp
  ${fuzz_dir}/arenix/text/dates.cpp ${fuzz_dir}/arenix/text/regexp_replace.cpp ${fuzz_dir}/arenix/text/strextract.cpp
  ${fuzz_dir}/arenix/text/url_utf8.cpp ${fuzz_dir}/arenix/timing/heat_check.cpp ${fuzz_dir}/arenix/timing/lif_file.cpp
  ${fuzz_dir}/arenix/upload/body_buffer.cpp ${fuzz_dir}/arenix/upload/upload_file.cpp
  ${fuzz_dir}/arenix/upload/upload_item.cpp ${fuzz_dir}/arenix/upload/upload_rules.cpp)
target_link_libraries(arenix_fuzz_component PUBLIC arenix_fuzz_data arenix_fuzz_host)

file(GLOB fuzz_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(fuzz_src ${fuzz_srcs})
  get_filename_component(name ${fuzz_src} NAME_WE)
  add_executable(${name} ${fuzz_src})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # The highest layer the target includes.
  file(READ ${fuzz_src} text)
  if(text MATCHES "#include \"arenix/")
    target_link_libraries(${name} PRIVATE arenix_fuzz_component)
  elseif(text MATCHES "#include \"data/")
    target_link_libraries(${name} PRIVATE arenix_fuzz_data)
  elseif(text MATCHES "#include \"(host|web)/")
    target_link_libraries(${name} PRIVATE arenix_fuzz_host)
  elseif(text MATCHES "#include \"platform/")
    target_link_libraries(${name} PRIVATE arenix_fuzz_platform)
  else()
    target_link_libraries(${name} PRIVATE arenix_fuzz_automation)
  endif()
endforeach()
# The request reader is the one piece of the web module it feeds: compiled
# in alone, without the page host and its script engine.
target_sources(http_request_fuzz PRIVATE ${fuzz_dir}/web/request_framing.cpp)
