# Included before any target when ORZA_BUILD_FUZZ is on: every target of the build, the library above all, gets
# libFuzzer's coverage hooks and the address and undefined-behaviour sanitizers, so a fuzzer sees inside the
# code it drives and stops at the first fault.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ORZA_BUILD_FUZZ needs clang for libFuzzer: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
