# Installation: one read-only program folder, lib/zantro, with the programs and the data files
# as the build lays them out; bin/zantro, the name on PATH; the desktop entry, its icon and the
# document types. Each user then works in a program folder of their own (platform/programfolder.h).
# The Debian package is the same tree under /usr.
set(ZANTRO_INSTALL_FOLDER lib/zantro)

# Every executable the build lays into the program folder, wherever its CMakeLists lives, so a
# program added later is installed without a line here.
function(zantro_collect_programs out dir)
  set(found)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    get_target_property(where ${t} RUNTIME_OUTPUT_DIRECTORY)
    if(type STREQUAL "EXECUTABLE" AND where STREQUAL ZANTRO_PROGRAM_DIR)
      list(APPEND found ${t})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(s IN LISTS subdirs)
    zantro_collect_programs(sub ${s})
    list(APPEND found ${sub})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
zantro_collect_programs(ZANTRO_PROGRAMS ${CMAKE_SOURCE_DIR})
# The program folder target builds all of them, so that it is complete for an installation.
add_dependencies(program_folder ${ZANTRO_PROGRAMS})

install(TARGETS ${ZANTRO_PROGRAMS} RUNTIME DESTINATION ${ZANTRO_INSTALL_FOLDER})
# The names a program is started under (std_zantro, pipefit_dlg, the duct dialogs) are links
# the build makes beside their programs; they are installed as the links they are.
install(CODE "
  file(GLOB entries LIST_DIRECTORIES false \"${ZANTRO_PROGRAM_DIR}/*\")
  foreach(e IN LISTS entries)
    if(IS_SYMLINK \"\${e}\")
      file(READ_SYMLINK \"\${e}\" to)
      if(NOT to MATCHES \"/\" AND EXISTS \"${ZANTRO_PROGRAM_DIR}/\${to}\")
        file(INSTALL \"\${e}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${ZANTRO_INSTALL_FOLDER}\")
      endif()
    endif()
  endforeach()")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${ZANTRO_INSTALL_FOLDER} PATTERN ".keep" EXCLUDE)
# The marker that makes every user, root included, work in a folder of their own.
file(WRITE ${CMAKE_BINARY_DIR}/zantro.installed
     "This folder is an installation shared by every user. Each user works in $XDG_DATA_HOME/zantro\n"
     "(~/.local/share/zantro), made from this folder on the first start.\n")
install(FILES ${CMAKE_BINARY_DIR}/zantro.installed DESTINATION ${ZANTRO_INSTALL_FOLDER})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/zantro.sh DESTINATION bin RENAME zantro)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zantro.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zantro.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zantro-mime.xml DESTINATION share/mime/packages RENAME zantro.xml)

# cpack -G DEB (from the build folder): the package of the tree above under /usr. The desktop
# database, the MIME database and the icon cache are refreshed by their own packages' triggers.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zantro)
set(CPACK_PACKAGE_VENDOR "Zantro for Linux")
set(CPACK_PACKAGE_CONTACT "Zantro for Linux <zantro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Costing program for building-services contractors (積算)")
set(CPACK_PACKAGE_DESCRIPTION
    "One priced bill of quantities per job: a breakdown list of items and a detail sheet of priced\n"
    "lines under each, with cost and submitted amounts, price libraries, quantity takeoff and the\n"
    "printed estimate.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The platform plugins (a window needs one) and the SVG icon plugin are not libraries the
# programs link, so no library search finds them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
find_program(ZANTRO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZANTRO_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
         ", libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6test6 (>= 6.4),"
         " libqt6printsupport6 (>= 6.4), libxlsxwriter4, zlib1g, libstdc++6 (>= 12), libgcc-s1, libc6 (>= 2.36)")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, xdg-utils, shared-mime-info, desktop-file-utils")
# Packaging installs what was built; it does not build the tests and benchmarks first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
include(CPack)
