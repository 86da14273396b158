# korvane-cli thumbnail: the picture's size follows the drawing's proportions, longer side SIZE.
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

# A plot file of one line from (0, 0) to (X, Y) inches.
function(write_line_plot path x y)
  execute_process(COMMAND /usr/bin/python3 -c
    "import struct,sys; open(sys.argv[1],'wb').write(struct.pack('<hhh hh hffh hffh', -1,0,0, -2,1, -4,0,0,3, -4,${x},${y},2))"
    ${path} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not write ${path}")
  endif()
endfunction()

function(expect_png path width height)
  file(READ ${path} header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 8 w)
  string(SUBSTRING "${header}" 40 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  if(NOT header MATCHES "^89504e47" OR NOT w EQUAL width OR NOT h EQUAL height)
    message(FATAL_ERROR "${path}: ${w}x${h} (${header}), expected a ${width}x${height} PNG")
  endif()
endfunction()

# name, drawing width and height in inches, SIZE, expected picture size.
set(cases
  wide  4 1   100 100 25
  tall  1 4   100 25 100
  thin  100 1 160 160 10)
while(cases)
  list(POP_FRONT cases name x y size width height)
  write_line_plot(${WORK}/${name}.plt ${x} ${y})
  run(0 ${CLI} thumbnail ${WORK}/${name}.plt ${WORK}/${name}.png ${size})
  expect_png(${WORK}/${name}.png ${width} ${height})
endwhile()

# Nothing drawn: a blank square.
file(WRITE ${WORK}/empty.plt "")
run(0 ${CLI} thumbnail ${WORK}/empty.plt ${WORK}/empty.png 64)
expect_png(${WORK}/empty.png 64 64)

# An invalid record: the part before it is drawn, exit 2; a file without a single record gets no
# picture. Misuse and missing input: exit 1, no file.
string(ASCII 255 ff)
file(WRITE ${WORK}/bad.plt "${ff}${ff}\n\n\n\nHello")
run(2 ${CLI} thumbnail ${WORK}/bad.plt ${WORK}/bad.png 32)
expect_png(${WORK}/bad.png 32 32)
file(WRITE ${WORK}/text.plt "Hello")
run(2 ${CLI} thumbnail ${WORK}/text.plt ${WORK}/none.png 32)
run(1 ${CLI} thumbnail ${SAMPLES}/site-plan.plt ${WORK}/none.png 0)
run(1 ${CLI} thumbnail ${SAMPLES}/site-plan.plt ${WORK}/none.png 12x)
run(1 ${CLI} thumbnail ${WORK}/missing.plt ${WORK}/none.png 32)
run(1 ${CLI} thumbnail ${SAMPLES}/site-plan.plt ${WORK}/none.png)
if(EXISTS ${WORK}/none.png)
  message(FATAL_ERROR "a failed thumbnail left an output file")
endif()
run(0 ${CLI} thumbnail --help)
