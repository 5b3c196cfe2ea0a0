# Places this computer's device and display settings beside the program when
# there are none yet. The file is the operator's from then on (the device form
# writes its choices there), so an existing one is never replaced.
if(NOT EXISTS "${TARGET}")
  file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
