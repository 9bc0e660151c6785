# What a security review of a Windows program looks for, for every program of
# the MinGW builds (Gravelin.exe, its tools and its tests alike):
# - a stack protector, and the checked variants of the C library's string and
#   memory functions (_FORTIFY_SOURCE needs optimisation, so not in Debug).
#   Both call into libssp, which -fstack-protector-strong at link time adds
#   and -static links in: no libssp DLL beside the program;
# - a relocatable image that the loader may place anywhere (ASLR; on x86_64
#   anywhere in the 64-bit space), data pages that cannot run (DEP), and the
#   mark that the program needs no Terminal Server compatibility shims.
add_compile_options(-fstack-protector-strong)
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_link_options(-fstack-protector-strong
  LINKER:--dynamicbase LINKER:--nxcompat LINKER:--tsaware)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(LINKER:--high-entropy-va)
endif()
