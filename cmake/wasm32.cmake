# Builds the page's WebAssembly with clang's wasm32 target, Debian's WASI libc and libc++:
#   cmake -S . -B build/web -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32.cmake
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_AR llvm-ar-14)
set(CMAKE_RANLIB llvm-ranlib-14)
# No exceptions, no run-time type information and no assertions: the page carries no more
# than it runs. Bulk memory makes fills and copies single instructions.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-rtti -mbulk-memory -DNDEBUG")
# The compiler is tried on a library: a test program would need an entry point.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
