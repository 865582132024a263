# 32-bit Linux with the host's multilib g++ (-m32). Test programs run under
# qemu-i386 when it is installed; the i386 loader and runtime libraries come
# from the multilib packages (/lib32, /usr/lib32), which qemu finds through
# the absolute interpreter path in each program, so no sysroot is needed.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# 64-bit file offsets and inode numbers: without them readdir and stat fail
# with EOVERFLOW under qemu-user on filesystems with 64-bit directory cookies
# (ext4), where the host kernel cannot tell that the caller is 32-bit.
set(CMAKE_C_FLAGS_INIT "-m32 -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-m32 -D_FILE_OFFSET_BITS=64")
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)

# Prefer the 32-bit library directories when anything is searched for.
set_property(GLOBAL PROPERTY FIND_LIBRARY_USE_LIB32_PATHS TRUE)
set_property(GLOBAL PROPERTY FIND_LIBRARY_USE_LIB64_PATHS FALSE)

find_program(MORVANE_QEMU_I386 qemu-i386)
if(MORVANE_QEMU_I386)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MORVANE_QEMU_I386})
endif()
