# Shared target settings: C++20, strict warnings on our own targets, optional sanitizers.
function(korvex_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  if(KORVEX_CLANG_TIDY)
    set_target_properties(${target} PROPERTIES CXX_CLANG_TIDY "${KORVEX_CLANG_TIDY_EXE}")
  endif()
  # Debian's hardening: checked string and memory functions where the optimiser can see the
  # sizes (fortify needs optimisation; the sanitizers bring their own checks), a stack
  # protector, and relocations resolved at start and then made read-only (bind-now).
  if(NOT KORVEX_SANITIZE AND NOT KORVEX_FUZZ)
    target_compile_options(${target} PRIVATE
      "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  endif()
  target_compile_options(${target} PRIVATE -fstack-protector-strong)
  target_link_options(${target} PRIVATE LINKER:-z,relro LINKER:-z,now)
  if(KORVEX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# A program of the application folder: built straight into it.
function(korvex_program target)
  korvex_defaults(${target})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KORVEX_APP_DIR}")
endfunction()

# One CTest entry per test program.
#   korvex_add_gtest(name SOURCES a.cpp b.cpp LIBS lib1 lib2)
function(korvex_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  korvex_defaults(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  korvex_include_root(${name} PRIVATE tests)
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# QtTest programs run headless. -nocrashhandler: a crash must fail the run, not start a
# debugger that waits for input.
#   korvex_add_qttest(name SOURCES a.cpp LIBS lib1)
function(korvex_add_qttest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  korvex_defaults(${name})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets)
  korvex_include_root(${name} PRIVATE tests)
  add_test(NAME ${name} COMMAND ${name} -nocrashhandler)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Include rules. The source tree is never an include directory: each folder is reached
# through an include root of its own, build/include-roots/<folder>/, which holds a link to
# that folder alone. A library makes its root PUBLIC, so a target sees its own folder and the
# folders of the libraries it links, and nothing else: an include of a folder it may not use
# ("shell/..." from editor/, say) fails to compile.
#   korvex_include_root(target PUBLIC|PRIVATE folder)
function(korvex_include_root target scope folder)
  set(root "${CMAKE_BINARY_DIR}/include-roots/${folder}")
  if(NOT IS_SYMLINK "${root}/${folder}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} "${root}")
endfunction()

# A library's own folder, the one its CMakeLists.txt is in, as its PUBLIC include root.
function(korvex_library_folder target)
  cmake_path(GET CMAKE_CURRENT_SOURCE_DIR FILENAME folder)
  korvex_include_root(${target} PUBLIC ${folder})
endfunction()
