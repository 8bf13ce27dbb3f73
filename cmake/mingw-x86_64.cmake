# The same sources for x86-64, for testing under 64-bit Wine on machines
# whose kernel runs no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
