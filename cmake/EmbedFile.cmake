# sentavo_embed_file(target file symbol): links the bytes of `file` into `target` as
#   extern const unsigned char symbol[]; extern const unsigned long long symbol_size;
function(sentavo_embed_file target file symbol)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    DEPENDS "${file}" ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
