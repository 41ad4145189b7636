# The fuzz targets: name, source and the library whose code it drives. Read
# by fuzz/ (libFuzzer builds) and by tests/fuzz/ (replaying the saved inputs
# in the normal build). A target whose library is not part of the build is
# left out.
set(BRINDLEWORT_FUZZ_TARGETS
  "rewrap|rewrap_fuzzer.cpp|brindlewort_engine"
  "grammar_check|grammar_check_fuzzer.cpp|brindlewort_proofreading"
  "spell_check|spell_check_fuzzer.cpp|brindlewort_proofreading"
  "settings_parse|settings_parse_fuzzer.cpp|brindlewort_settings"
  "settings_file|settings_file_fuzzer.cpp|brindlewort_settings"
  "auto_correction|auto_correction_fuzzer.cpp|brindlewort_autocorrect"
  "lsp_messages|lsp_messages_fuzzer.cpp|brindle_lsp"
)

# Calls `callback(name source library)` for every target that can be built.
macro(brindlewort_for_each_fuzz_target callback)
  foreach(entry IN LISTS BRINDLEWORT_FUZZ_TARGETS)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 fuzz_name)
    list(GET fields 1 fuzz_source)
    list(GET fields 2 fuzz_library)
    if(TARGET ${fuzz_library} AND EXISTS "${BRINDLEWORT_FUZZ_DIR}/${fuzz_source}")
      cmake_language(CALL ${callback} ${fuzz_name} "${BRINDLEWORT_FUZZ_DIR}/${fuzz_source}" ${fuzz_library})
    endif()
  endforeach()
endmacro()
