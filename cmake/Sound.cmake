# The alarm's chime is generated, not kept in git: beside the program in
# dist/ and beside the test programs in this build folder (the alarm looks
# for it in its own program's folder).
set(MIRVEN_CHIME_SCRIPT ${CMAKE_SOURCE_DIR}/src/res/sound/make_chime.py)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/music/alarm.wav
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/music ${MIRVEN_DIST_DIR}/music
  COMMAND /usr/bin/python3 ${MIRVEN_CHIME_SCRIPT} ${CMAKE_BINARY_DIR}/music/alarm.wav
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/music/alarm.wav ${MIRVEN_DIST_DIR}/music/alarm.wav
  DEPENDS ${MIRVEN_CHIME_SCRIPT}
  COMMENT "Making the alarm chime")
add_custom_target(mirven_sound ALL DEPENDS ${CMAKE_BINARY_DIR}/music/alarm.wav)
