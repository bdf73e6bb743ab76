# What the two MinGW toolchains share: the compilers of TOOLCHAIN_PREFIX, a lean,
# reproducible, statically linked setup.exe for Windows 2000 and later, and Wine to
# run the test programs. Included by the toolchain files after they name the
# processor and TOOLCHAIN_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
get_filename_component(vessora_source_dir ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# The oldest Windows the program is built for: a call that Windows 2000 lacks
# does not compile. Test programs that drive Windows from outside raise it for
# their own folder (tests/e2e, tests/wine).
set(vessora_windows_floor "-D_WIN32_WINNT=0x0500 -DWINVER=0x0500")

# Lean: no exceptions, no RTTI, no unwind tables, no thread-safe statics (one
# thread), each function and datum in its own section so the linker drops what
# is never called. Reproducible: no source paths in the objects.
set(vessora_lean "-fno-asynchronous-unwind-tables -fno-unwind-tables -ffunction-sections -fdata-sections")
set(vessora_repro "-ffile-prefix-map=${vessora_source_dir}=.")
set(CMAKE_C_FLAGS_INIT "${vessora_windows_floor} ${vessora_lean} ${vessora_repro}")
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_C_FLAGS_INIT} -fno-exceptions -fno-rtti -fno-threadsafe-statics")

# Static (no MinGW DLLs to ship), stripped, unused sections and the start-up
# objects' unwind tables dropped, and no link time stamp, so two builds of one
# commit give the same bytes. An executable is always loaded at its own base,
# as on the Windows it is made for, so it carries no relocation table.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections -Wl,--no-insert-timestamp")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--disable-dynamicbase -Wl,--disable-reloc-section")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,-T,${CMAKE_CURRENT_LIST_DIR}/discard-unwind-tables.ld")

# Test programs of these builds run under Wine in a private prefix; tools/wine-run
# picks the 32- or 64-bit loader from the program.
set(CMAKE_CROSSCOMPILING_EMULATOR ${vessora_source_dir}/tools/wine-run)
