# korvane-cli find: one line per match as drawn, world figures with a scaled configuration,
# and the exit status scripts test.
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

# Layers, then the first corner (world 500000, 5000000 at paper 0.75, 0.75), 1:1000 metric.
file(WRITE ${WORK}/scaled.cfg "L0\n1\nL1\n2\nL2\n3\nL3\n4\nL4\n5\nL5\n6\nL6\n7\nL7\n8\n"
  "500000,5000000,120,0.75,0.75\n0,0,0,0,0\n0,0,0,0,0\n0,1000,1\n")

function(expect status printed)
  run(${status} ${CLI} find ${SAMPLES}/site-plan.plt ${ARGN})
  if(NOT OUT STREQUAL printed)
    message(FATAL_ERROR "find ${ARGN}: printed\n${OUT}\nexpected\n${printed}")
  endif()
endfunction()

# Texts placed from the origin (0.75, 0.75) the drawing moves to; any case matches.
expect(0 "22 25.050 4.950 SITE PLAN - RIVERSIDE ESTATE\n6464 6.750 10.936 RIVERSIDE DRIVE\n"
  riverside)
expect(1 "" Riverside --match-case)
# A number as drawn, with no decimals.
expect(0 "85 2.550 0.900 5025\n" 5025 --match-case)
# 25.4 m to the plot inch at 1:1000.
expect(0 "22 25.050 4.950 500617.220 5000106.680 SITE PLAN - RIVERSIDE ESTATE\n" ESTATE
  --config ${WORK}/scaled.cfg)
# After "--" an option's name is the text looked for.
expect(1 "" -- --match-case)
