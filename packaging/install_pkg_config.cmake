# Run by cmake --install (and by CPack): writes the pkg-config files with
# the prefix this install goes to, known only now (--prefix P, or /usr in
# the Debian package). QM_PC_TEMPLATES and QM_PC_DESTINATION are set by the
# install rule before this script runs.
set(prefix "${CMAKE_INSTALL_PREFIX}")
file(GLOB templates "${QM_PC_TEMPLATES}/*.pc.in")
foreach(template IN LISTS templates)
  get_filename_component(name "${template}" NAME_WLE)
  configure_file("${template}" "${QM_PC_TEMPLATES}/installed/${name}" @ONLY)
  file(INSTALL "${QM_PC_TEMPLATES}/installed/${name}"
       DESTINATION "${CMAKE_INSTALL_PREFIX}/${QM_PC_DESTINATION}")
endforeach()
