# Installs Chartix for other projects:
#   include/chartix/<folder>/*.h          the public headers (<chartix/widgets/MapWidget.h> ...)
#   include/chartix/Version.h             the version numbers
#   lib/libchartix{,_platform}.so.X.Y.Z   with SONAME .so.<major>
#   lib/cmake/Chartix/                    find_package(Chartix) -> Chartix::chartix
#   lib/pkgconfig/chartix.pc              pkg-config chartix
#   bin/                                  the programs
#   lib/chartix/libmitab.so               the MITAB module, found from the library's folder
#   lib/chartix/libchartix_gdal.so        the GDAL module (other formats, coordinate systems, rasters)
#   lib/qt6/plugins/designer/             the Qt Designer plugin, when built (designer/)
include(CMakePackageConfigHelpers)

set_target_properties(chartix_platform chartix PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})
set_target_properties(chartix_platform PROPERTIES EXPORT_NAME platform)
# The component library finds the platform library beside itself.
set_target_properties(chartix PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS chartix_platform chartix
  EXPORT ChartixTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

foreach(header ${CHARTIX_PUBLIC_HEADERS})
  get_filename_component(_dir ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/chartix/${_dir})
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/include/chartix/Version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/chartix)

foreach(app chartix-render chartix-convert chartix-viewer)
  if(TARGET ${app})
    install(TARGETS ${app} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # Installed programs find the libraries in ../lib (and the library finds
    # the MITAB module in its chartix/ folder).
    set_target_properties(${app} PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
  endif()
endforeach()
if(TARGET mitab)
  install(TARGETS mitab LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/chartix)
endif()
if(TARGET chartix_gdal)
  install(TARGETS chartix_gdal LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/chartix)
endif()

set(_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Chartix)
install(EXPORT ChartixTargets NAMESPACE Chartix:: DESTINATION ${_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ChartixConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/ChartixConfig.cmake
  INSTALL_DESTINATION ${_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ChartixConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ChartixConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/ChartixConfigVersion.cmake
  DESTINATION ${_cmake_dir})

# Relocatable: the prefix is found from where the .pc file lies, so an
# install with --prefix (or DESTDIR) needs no reconfiguring.
file(RELATIVE_PATH CHARTIX_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
configure_file(${CMAKE_CURRENT_LIST_DIR}/chartix.pc.in ${CMAKE_CURRENT_BINARY_DIR}/chartix.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/chartix.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
