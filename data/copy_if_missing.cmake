# cmake -DSOURCE=file -DDESTINATION=file -P copy_if_missing.cmake
# A shipped file the user may change later is copied only when none is there.
if(NOT EXISTS "${DESTINATION}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
