# The product: plain procedural C++ that must link without any C runtime, so
# it is compiled without the standard headers, exceptions or RTTI, and no
# function-local static may need a guard.
set(GLYPHROW_PRODUCT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../platform/block.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/standard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/open.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/close.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/read.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/getc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/at_end.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/gets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/write.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/putc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/puts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../stream/print_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../convert/row.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../convert/convert_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../startup/split_command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../startup/process_start.cpp)

set(GLYPHROW_PRODUCT_FLAGS
  -nostdinc -nostdinc++ -fno-exceptions -fno-rtti -fno-threadsafe-statics
  -Wall -Wextra)
