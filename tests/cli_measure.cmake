# korvane-cli measure: the lines for paper and world, in plan whatever the plane's tilt.
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

# A configuration file: eight layers, the three corners ("e,n,h,x,y"), then "units,scale,1".
function(write_cfg name units corners)
  string(REPEAT "L\n7\n" 8 text)
  file(WRITE ${WORK}/${name}.cfg "${text}${corners}${units}\n")
endfunction()
write_cfg(metric "0,1000,1" "500000,5000000,0,0,0\n0,0,0,0,0\n0,0,0,0,0\n")
write_cfg(imperial "1,1200,1" "500000,5000000,0,0,0\n0,0,0,0,0\n0,0,0,0,0\n")
# Paper right is grid south, paper up grid east; the plane rises 30 m to the east.
write_cfg(turned "0,1000,1" "1000,1000,0,0,0\n1000,746,0,10,0\n1254,746,30,10,10\n")
# The right-hand corners given in the world but left at paper 0, 0: no transform.
write_cfg(singular "0,1000,1" "1000,1000,0,0,0\n2000,1000,0,0,0\n2000,2000,0,0,0\n")

foreach(case
    "1 1 4 5|distance 5.000 in\nbearing 36.870\n"
    "0 0 2 0 2 2|distance 4.000 in\nbearing 0.000\narea 2.000 sq in\n"
    "-1 -1 -1 -1|distance 0.000 in\n"
    "1 1 4 5 --config metric|distance 5.000 in 127.000 m\nbearing 36.870\n"
    "0 0 2 0 2 2 --config imperial|distance 4.000 in 400.000 ft\nbearing 0.000\narea 2.000 sq in 20000.000 sq ft\n"
    "1 1 4 5 1 5 --config turned|distance 8.000 in 203.200 m\nbearing 0.000\narea 6.000 sq in 3870.960 sq m\n")
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 points)
  list(GET parts 1 expected)
  string(REPLACE "\\n" "\n" expected "${expected}")
  string(REPLACE " " ";" points "${points}")
  string(REGEX REPLACE "--config;([a-z]+)" "--config;${WORK}/\\1.cfg" points "${points}")
  run(0 ${CLI} measure ${points})
  if(NOT OUT STREQUAL expected)
    message(FATAL_ERROR "measure ${points}:\n${OUT}expected:\n${expected}")
  endif()
endforeach()

foreach(bad "1;2;3" "1;2" "1;2;x;4" "1;2;0x10;4" "1;2;nan;4" "1;2;1e300;4")
  run(1 ${CLI} measure ${bad})
endforeach()
run(1 ${CLI} measure 0 0 1 1 --config ${WORK}/singular.cfg)
if(NOT ERR MATCHES "singular.cfg: ")
  message(FATAL_ERROR "no reason for the refused configuration: ${ERR}")
endif()
run(1 ${CLI} measure 0 0 1 1 --config ${WORK}/missing.cfg)
