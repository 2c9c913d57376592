# The product as one library, linked over whichever platform layer.
add_library(glyphrow_product STATIC ${GLYPHROW_PRODUCT_SOURCES})
target_compile_options(glyphrow_product PRIVATE ${GLYPHROW_PRODUCT_FLAGS})
