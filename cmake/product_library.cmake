# The whole family as one library, linked over whichever platform layer by
# the tests and fuzzers. Each tool's entry has a name of its own, so one
# test program can hold them all.
set(GLYPHROW_PRODUCT_SOURCES ${GLYPHROW_SHARED_SOURCES})
foreach(tool ${GLYPHROW_TOOLS})
  list(APPEND GLYPHROW_PRODUCT_SOURCES ${${tool}_JOB})
endforeach()
add_library(glyphrow_product STATIC ${GLYPHROW_PRODUCT_SOURCES})
target_compile_options(glyphrow_product PRIVATE ${GLYPHROW_PRODUCT_FLAGS})
target_compile_definitions(glyphrow_product PRIVATE ${GLYPHROW_PRODUCT_DEFINITIONS})
