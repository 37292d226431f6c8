# Warnings and sanitizers for every target of the project.
if(MSVC)
  add_compile_options(/W4 /utf-8 /permissive-)
else()
  add_compile_options(-Wall -Wextra -Wpedantic -Wno-unused-parameter)
endif()

if(WIN32)
  # Unicode Win32 APIs everywhere; windows.h comes only through
  # platform/win32/WindowsApi.h, which sets the rest.
  add_compile_definitions(UNICODE _UNICODE)
  if(MINGW)
    # One self-contained folder of programs: no MinGW runtime DLLs beside them.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # Shipped without symbols: the loader reads the whole image, so every
    # byte of debug information would be resident memory of a tray program.
    add_link_options($<$<CONFIG:Release>:-s>)
    # Reproducible programs: the same sources give the same bytes in any
    # folder and at any time. No build path in the code (__FILE__ and the
    # like), no link time in the PE header.
    add_compile_options(
      "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
      "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()

if(TIDEMARK_SANITIZE AND NOT MSVC)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
