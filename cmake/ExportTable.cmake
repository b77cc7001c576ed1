# zarv_export_table(TARGET DEF): a DLL exporting the plain names that its
# .def file lists, on both architectures. The .def is written for 32-bit
# stdcall (name@bytes): there --kill-at strips the decoration from the DLL's
# table, and dlltool -k makes the import library whose decorated symbols
# (what callers compiled against the header reference) import the plain
# names. On x86-64 there is no decoration: the .def is used with the @bytes
# taken off, and the linker's own import library is right.
function(zarv_export_table target def)
  get_filename_component(def ${def} ABSOLUTE)
  if(ZARV_ARCH EQUAL 32)
    target_sources(${target} PRIVATE ${def})
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    find_program(ZARV_DLLTOOL NAMES ${ZARV_TRIPLET}-dlltool REQUIRED)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${ZARV_DLLTOOL} -k -d ${def} -D $<TARGET_FILE_NAME:${target}>
              -l $<TARGET_LINKER_FILE:${target}>
      VERBATIM)
  else()
    file(READ ${def} text)
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
    get_filename_component(name ${def} NAME)
    set(plain ${CMAKE_CURRENT_BINARY_DIR}/plain-${name})
    file(WRITE ${plain} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    target_sources(${target} PRIVATE ${plain})
  endif()
endfunction()
