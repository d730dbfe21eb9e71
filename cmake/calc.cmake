# The LibreOffice Calc backend (TooCalcImp) talks to the office through its C++ UNO bridge.
# It is built when the LibreOffice SDK is installed: the API headers are generated once per build
# tree by cppumaker from the office's type libraries (about 26 MB, never committed), and only
# oocalcimp.cpp sees them. Included from src/host/CMakeLists.txt after the hrdoc target exists.
set(HRDOC_LO_PROGRAM /usr/lib/libreoffice/program)
set(HRDOC_LO_SDK /usr/lib/libreoffice/sdk)
set(HRDOC_CALC_SOURCE ${PROJECT_SOURCE_DIR}/src/office/oocalcimp.cpp)

option(HRDOC_WITH_CALC "Build the LibreOffice Calc backend when the LibreOffice SDK is installed" ON)

if(HRDOC_WITH_CALC AND EXISTS ${HRDOC_LO_SDK}/bin/cppumaker AND EXISTS ${HRDOC_LO_PROGRAM}/types/offapi.rdb)
  set(uno_dir ${CMAKE_BINARY_DIR}/uno)
  set(uno_stamp ${uno_dir}/headers.stamp)
  add_custom_command(
    OUTPUT ${uno_stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${uno_dir}/include
    COMMAND ${HRDOC_LO_SDK}/bin/cppumaker -Gc -O${uno_dir}/include ${HRDOC_LO_PROGRAM}/types.rdb
            ${HRDOC_LO_PROGRAM}/types/offapi.rdb
    COMMAND ${CMAKE_COMMAND} -E touch ${uno_stamp}
    DEPENDS ${HRDOC_LO_PROGRAM}/types.rdb ${HRDOC_LO_PROGRAM}/types/offapi.rdb
    COMMENT "Generating the LibreOffice UNO API headers"
    VERBATIM)
  add_custom_target(hrdoc_uno_headers DEPENDS ${uno_stamp})
  add_dependencies(hrdoc_office hrdoc_uno_headers)

  # The UNO headers and their defines are for this one source; the rest of the library never
  # sees them.
  set(calc_options -Wno-deprecated-declarations)
  if(HRDOC_SANITIZE)
    # The bridge's proxies for office objects carry vtables it builds at run time, which the
    # dynamic-type check cannot recognise; everything else stays checked.
    list(APPEND calc_options -fno-sanitize=vptr)
  endif()
  set_source_files_properties(${HRDOC_CALC_SOURCE} PROPERTIES
    INCLUDE_DIRECTORIES "/usr/include/libreoffice;${uno_dir}/include"
    COMPILE_DEFINITIONS "LINUX;UNX;CPPU_ENV=gcc3"
    COMPILE_OPTIONS "${calc_options}"
    OBJECT_DEPENDS ${uno_stamp})
  set_source_files_properties(${PROJECT_SOURCE_DIR}/src/office/server.cpp PROPERTIES
    COMPILE_DEFINITIONS "HRDOC_WITH_CALC")
  target_link_libraries(hrdoc PRIVATE
    ${HRDOC_LO_SDK}/lib/libuno_cppuhelpergcc3.so ${HRDOC_LO_SDK}/lib/libuno_cppu.so
    ${HRDOC_LO_SDK}/lib/libuno_sal.so ${HRDOC_LO_SDK}/lib/libuno_salhelpergcc3.so)
  set_property(TARGET hrdoc APPEND PROPERTY BUILD_RPATH ${HRDOC_LO_PROGRAM})
  set_property(TARGET hrdoc APPEND PROPERTY INSTALL_RPATH ${HRDOC_LO_PROGRAM})
  set_property(GLOBAL PROPERTY HRDOC_CALC_BUILT ON)
  message(STATUS "hrdoc: the LibreOffice Calc backend is built")
else()
  set_source_files_properties(${HRDOC_CALC_SOURCE} PROPERTIES HEADER_FILE_ONLY ON)
  set_property(GLOBAL PROPERTY HRDOC_CALC_BUILT OFF)
  message(STATUS "hrdoc: the LibreOffice Calc backend is not built (HRDOC_WITH_CALC off or no LibreOffice SDK)")
endif()
