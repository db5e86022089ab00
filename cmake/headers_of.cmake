# tavik_headers(TARGET SCOPE PATH...): who may include what. TARGET (SCOPE PRIVATE) or whoever
# links it (PUBLIC, INTERFACE) includes the headers below each PATH, a folder or one file of the
# source tree, as "folder/file.h". Each target gets an include root of its own in the build tree
# that holds links to exactly those paths, so a header of a library not linked is not found.
function(tavik_headers target scope)
  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  # Made afresh: a link left from an earlier list (a folder now listed file by file) would have the
  # new links written through it into the source tree. Symbolic links are removed, not followed.
  file(REMOVE_RECURSE ${root})
  foreach(path IN LISTS ARGN)
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()
