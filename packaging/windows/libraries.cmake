# The libraries of the Windows build, cross-built by packaging/windows/build-libraries.sh into
# RIVERDUEL_WINDOWS_PREFIX, under the names the Linux build's pkg-config modules give them.
if(NOT RIVERDUEL_WINDOWS_PREFIX)
  message(FATAL_ERROR "RIVERDUEL_WINDOWS_PREFIX: where build-libraries.sh installed the libraries")
endif()
set(prefix ${RIVERDUEL_WINDOWS_PREFIX})
function(riverduel_windows_library name)
  add_library(PkgConfig::${name} INTERFACE IMPORTED)
  target_include_directories(PkgConfig::${name} INTERFACE ${prefix}/include)
  target_link_libraries(PkgConfig::${name} INTERFACE ${ARGN})
endfunction()
riverduel_windows_library(ALLEGRO ${prefix}/lib/liballeg.a dinput ddraw dxguid dsound winmm ole32
  gdi32 user32 kernel32)
target_compile_definitions(PkgConfig::ALLEGRO INTERFACE ALLEGRO_STATICLINK)
# ENet is one header; network/enet_port.cpp compiles its code.
riverduel_windows_library(ENET ws2_32 winmm)
riverduel_windows_library(SNDFILE ${prefix}/lib/libsndfile.a)
riverduel_windows_library(MINIUPNPC ${prefix}/lib/libminiupnpc.a ws2_32 iphlpapi)
target_compile_definitions(PkgConfig::MINIUPNPC INTERFACE MINIUPNP_STATICLIB)
riverduel_windows_library(XRENDER)
set(NATPMP_LIBRARY "")
# stb's headers are the system's (header-only): only that folder joins the include path.
set(STB_INCLUDE_DIRS /usr/include/stb)
# ELF's hardening (RELRO, fortified glibc calls) has no meaning here.
set(RIVERDUEL_HARDEN OFF CACHE BOOL "" FORCE)
# Only Windows' own DLLs: the C++ and winpthreads runtimes go into the executable.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
