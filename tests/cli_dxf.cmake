# korvane-cli's DXF export as a user runs it. Plain and horizontal exports of the samples keep
# the bytes they had before texts and circles were laid flat on tilted planes (checksums of
# files written then; a regenerated sample needs a new table). Layer names readers refuse stop
# the export; colours outside 0..256 are kept with one warning.
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

# A configuration file: layers L0..L7 in colours 1..8 unless given, then corner lines and the
# "units,scale,1" line of a scaled conversion.
function(write_cfg name last)
  set(names L0 L1 L2 L3 L4 L5 L6 L7)
  set(colors 1 2 3 4 5 6 7 8)
  if(DEFINED LAYER_NAMES)
    set(names ${LAYER_NAMES})
  endif()
  if(DEFINED LAYER_COLORS)
    set(colors ${LAYER_COLORS})
  endif()
  set(text "")
  foreach(i RANGE 7)
    list(GET names ${i} n)
    list(GET colors ${i} c)
    string(APPEND text "${n}\n${c}\n")
  endforeach()
  foreach(line ${ARGN})
    string(APPEND text "${line}\n")
  endforeach()
  file(WRITE ${WORK}/${name}.cfg "${text}${last}\n")
endfunction()

write_cfg(hmetric "0,1000,1" "500000,5000000,120,0.75,0.75" "0,0,0,0,0" "0,0,0,0,0")
write_cfg(himperial "1,500,1" "500000,5000000,80,1.5,2.5" "0,0,0,0,0" "0,0,0,0,0")
# Right-hand corners whose world values sum to exactly zero count as horizontal.
write_cfg(hzero "0,2500,1" "712345.5,4123456.25,-35.5,0,0" "10,-10,0,5,5" "3,0,-3,9,9")

set(expected
  contours plain 2d930995f5f7612ac0454fdf15848e9f7b0586ca31400785a187f4cbed0015b5
  contours hmetric 3df583e7da27072db71601ddb61040afe3e76d4e6d6d5682ad029a084c4294ea
  contours himperial 9dc787237fdcbb546e9bef981424a6601f835a2cabfbdfb74b573cfe16b807fa
  contours hzero 6e272bee9b686463ec1d9b05e4904b6223d7de2d4b859e27be0597362ee622eb
  site-plan plain ed3bf60d97e659dfaac3ac39b5d10f38f734868d255b3725aab2437d09150687
  site-plan hmetric cfb6ae358d4ac8fac35c807f014108f4b2d9e3341d1f460f8bdc871a033144dd
  site-plan himperial 7c31a2947b163621c7a9b32e6b0ac8889003bcb992b976a446fe7a8754e34fea
  site-plan hzero aa7d0438bbc410a134b65ad16343154337b4f3ccdd7d4ed3ec722b77e7e7a0c8
  traverse plain 8b5e456c88fba08cf81142fa725685d67e0eea518d74929ba8dae276375635f0
  traverse hmetric ff2c73f850f706e04abdf8d4a6b98f1b893b098bc87e97f6e00db4a3c2a3a70b
  traverse himperial 064abe905e7b3404dcdf94364e7c9323a9d5d5fe5f21c31209c9e28dff0c9a83
  traverse hzero 3e26410771a2834bd10f5a2ec3d866cc26b2256b25285cb25889081f669fc87b)
while(expected)
  list(POP_FRONT expected sample cfg sum)
  set(out ${WORK}/${sample}-${cfg}.dxf)
  if(cfg STREQUAL "plain")
    run(0 ${CLI} convert ${SAMPLES}/${sample}.plt ${out})
  else()
    run(0 ${CLI} convert ${SAMPLES}/${sample}.plt ${out} --config ${WORK}/${cfg}.cfg)
  endif()
  file(SHA256 ${out} got)
  if(NOT got STREQUAL sum)
    message(FATAL_ERROR "${sample}.plt, ${cfg} export: its bytes changed (sha256 ${got})")
  endif()
endwhile()

set(normal_corners "0,0,0,1.5,2.5" "0,0,0,0,0" "0,0,0,0,0")

# A layer name with a character readers refuse: exit 1, the pen and character named, no file.
set(LAYER_NAMES L0 L1 a:b L3 L4 L5 L6 L7)
write_cfg(badname "0,1000,0" ${normal_corners})
run(1 ${CLI} convert ${SAMPLES}/traverse.plt ${WORK}/badname.dxf --config ${WORK}/badname.cfg)
if(NOT ERR MATCHES "pen 3 holds the character ':'" OR EXISTS ${WORK}/badname.dxf)
  message(FATAL_ERROR "layer name a:b not refused as it should be: ${ERR}")
endif()
unset(LAYER_NAMES)

# Colours outside 0..256: written as given, one warning for all of them.
set(LAYER_COLORS 7 -1 2 3 300 5 6 256)
write_cfg(colors "0,1000,0" ${normal_corners})
run(0 ${CLI} convert ${SAMPLES}/traverse.plt ${WORK}/colors.dxf --config ${WORK}/colors.cfg)
string(REGEX MATCHALL "warning" warnings "${ERR}")
list(LENGTH warnings count)
if(NOT count EQUAL 1 OR NOT ERR MATCHES "pen 2: -1, pen 5: 300")
  message(FATAL_ERROR "expected one warning about pens 2 and 5: ${ERR}")
endif()
