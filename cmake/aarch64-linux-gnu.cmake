# Cross-compiling for arm64 Debian 12 on an amd64 Debian 12 machine, with
# Debian's aarch64-linux-gnu compilers, against a folder that holds Debian's
# arm64 packages unpacked (scripts/package-arm64.sh makes it). The folder is
# CALTRIX_ARM64_SYSROOT, or build-arm64/sysroot beside this file's project.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

if(NOT CALTRIX_ARM64_SYSROOT)
  if(DEFINED ENV{CALTRIX_ARM64_SYSROOT})
    set(CALTRIX_ARM64_SYSROOT $ENV{CALTRIX_ARM64_SYSROOT})
  else()
    get_filename_component(CALTRIX_ARM64_SYSROOT ${CMAKE_CURRENT_LIST_DIR}/../build-arm64/sysroot ABSOLUTE)
  endif()
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CALTRIX_ARM64_SYSROOT)
set(CMAKE_SYSROOT ${CALTRIX_ARM64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads the arm64 .pc files and prefixes their paths with the sysroot.
set(ENV{PKG_CONFIG_LIBDIR} ${CALTRIX_ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/pkgconfig:${CALTRIX_ARM64_SYSROOT}/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${CALTRIX_ARM64_SYSROOT})

# moc, rcc and uic run on this machine: they come from its own Qt.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# Where things go on the board. Debian's Qt host tools are shared by every
# architecture and answer with this machine's (amd64) folders, so they are
# set here rather than asked of qtpaths.
set(CMAKE_INSTALL_PREFIX /usr CACHE PATH "")
set(CMAKE_INSTALL_LIBDIR lib/aarch64-linux-gnu CACHE PATH "")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)

# Test programs and test discovery run under user-mode emulation.
find_program(CALTRIX_QEMU_AARCH64 qemu-aarch64-static)
if(CALTRIX_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CALTRIX_QEMU_AARCH64} -L ${CALTRIX_ARM64_SYSROOT})
endif()
