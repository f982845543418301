# The log wrapper's platform-free rules, built natively (for their tests) and for Windows.
add_library(corvane_core STATIC ${CMAKE_SOURCE_DIR}/src/corvane/wrapper_args.cpp)
target_include_directories(corvane_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
