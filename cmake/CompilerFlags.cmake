# Every text literal in the program is GBK (code page 936); the source files are UTF-8.
function(km_project_flags target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /source-charset:utf-8 /execution-charset:.936 /W4 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -fexec-charset=GBK -Wall -Wextra -Wno-unused-parameter)
  endif()
  if(WIN32)
    # ANSI entry points throughout: UNICODE stays undefined.
    target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
  endif()
  if(NOT WIN32 AND KM_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# Windows programs link the C and C++ run time statically, so the .exe needs no MinGW DLLs.
function(km_static_runtime target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()
