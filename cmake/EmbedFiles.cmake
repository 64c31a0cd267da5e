# Compiles every file of a directory into the target as a byte array, so that
# documents shipped with the library need no file lookup at run time.
# Generated: <binary>/embedded/embedded_files.cpp defining
#   vorn::embedded::find(std::string_view name) -> std::optional<std::string_view>
function(vorn_embed_files target dir)
  file(GLOB files CONFIGURE_DEPENDS ${dir}/*)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded/embedded_files.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DDIR=${dir} -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedScript.cmake
    DEPENDS ${files} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedScript.cmake
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
