# Tests of the main tree that run the other trees test.sh builds: the unit and
# in-process suite under AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz
# target for a short while on its seed corpus (with its kept findings replayed first).
set(ZORBLATS_ASAN_TREE "" CACHE PATH "A tree built with -DZORBLATS_SANITIZE=ON to run as one test")
set(ZORBLATS_FUZZ_TREE "" CACHE PATH "A tree built with -DZORBLATS_FUZZ=ON whose fuzzers run as tests")
set(ZORBLATS_FUZZ_CORPUS "" CACHE PATH "The seed corpora made by fuzz/make_corpus.sh")
set(ZORBLATS_FUZZ_SECONDS 20 CACHE STRING "How long each fuzz target runs in the suite")

if(ZORBLATS_ASAN_TREE)
  add_test(NAME sanitized_suite
           COMMAND bash ${CMAKE_SOURCE_DIR}/fuzz/run_sanitized_suite.sh ${ZORBLATS_ASAN_TREE})
  set_tests_properties(sanitized_suite PROPERTIES TIMEOUT 3000 LABELS sanitized)
endif()
if(ZORBLATS_FUZZ_TREE AND ZORBLATS_FUZZ_CORPUS)
  foreach(target pack_file_fuzzer settings_fuzzer textbox_fuzzer
                 source_image_fuzzer config_fuzzer game_fuzzer replay_fuzzer)
    add_test(NAME fuzz_${target}
             COMMAND bash ${CMAKE_SOURCE_DIR}/fuzz/run_fuzzer.sh
                     ${ZORBLATS_FUZZ_TREE}/fuzz/${target} ${ZORBLATS_FUZZ_CORPUS}/${target}
                     ${ZORBLATS_FUZZ_SECONDS})
    set_tests_properties(fuzz_${target} PROPERTIES TIMEOUT 300 LABELS fuzz)
  endforeach()
endif()

# The browser build (./web.sh --build leaves it in build-web/): its site played in headless
# Chromium, its screens compared with the native gallery tool's pictures, and its replays
# played by this tree's desktop game and the other way round.
set(ZORBLATS_WEB_TREE "" CACHE PATH "A tree built by web.sh whose site runs as one test")
if(ZORBLATS_WEB_TREE)
  add_test(NAME web_e2e
           COMMAND node ${CMAKE_SOURCE_DIR}/web/test/e2e.js ${ZORBLATS_WEB_TREE}/site
                   ${ZORBLATS_WEB_TREE}/native ${GAME_DIR})
  set_tests_properties(web_e2e PROPERTIES TIMEOUT 300 LABELS web RUN_SERIAL ON)
endif()
