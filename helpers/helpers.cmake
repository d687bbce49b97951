# The calculator and the clock are linked first, as programs of their own,
# and then carried inside Mirven.exe as resources "EXE" 344 and 345
# (src/res/helpers.rc): a change to either rebuilds the program.
set(MIRVEN_HELPER_DIR ${CMAKE_BINARY_DIR}/helpers)
set(MIRVEN_HELPER_EXES)
foreach(helper calculator:calculator:CalculatorMain clock:Clock:ClockMain)
  string(REPLACE ":" ";" parts ${helper})
  list(GET parts 0 dir)
  list(GET parts 1 name)
  list(GET parts 2 main)
  add_executable(helper_${dir} WIN32 ${CMAKE_SOURCE_DIR}/helpers/${dir}/${main}.cpp
                 ${CMAKE_SOURCE_DIR}/helpers/${dir}/${dir}.rc)
  set_target_properties(helper_${dir} PROPERTIES OUTPUT_NAME ${name}
                        RUNTIME_OUTPUT_DIRECTORY ${MIRVEN_HELPER_DIR})
  set_source_files_properties(${CMAKE_SOURCE_DIR}/helpers/${dir}/${dir}.rc PROPERTIES
    OBJECT_DEPENDS "${MIRVEN_BITMAP_DIR}/bitmaps.rc;${CMAKE_SOURCE_DIR}/helpers/common/Helper.rc;${CMAKE_SOURCE_DIR}/helpers/common/Helper.manifest")
  add_dependencies(helper_${dir} mirven_bitmaps)
  target_compile_options(helper_${dir} PRIVATE ${MIRVEN_WARNINGS})
  target_link_libraries(helper_${dir} PRIVATE mirven_win)
  list(APPEND MIRVEN_HELPER_EXES ${MIRVEN_HELPER_DIR}/${name}.exe)
  add_dependencies(Mirven helper_${dir})
endforeach()
set_property(SOURCE ${MIRVEN_RC} APPEND PROPERTY OBJECT_DEPENDS ${MIRVEN_HELPER_EXES})
set_property(SOURCE ${MIRVEN_RC} APPEND PROPERTY INCLUDE_DIRECTORIES ${MIRVEN_HELPER_DIR})
