# Runs morvane-render for 7 frames writing every 3rd, and checks that exactly frames 0, 3 and 6 were
# written and that the report counts 7 frames.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${RENDER} --size 64x48 --seed 3 --frames 7 --every 3 --out ${OUT}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "morvane-render failed (${result}): ${errors}")
endif()
if(NOT output MATCHES "frames: 7\n")
  message(FATAL_ERROR "unexpected report: ${output}")
endif()
file(GLOB written RELATIVE ${OUT} ${OUT}/*.png)
list(SORT written)
if(NOT written STREQUAL "frame-000000.png;frame-000003.png;frame-000006.png")
  message(FATAL_ERROR "unexpected files: ${written}")
endif()
