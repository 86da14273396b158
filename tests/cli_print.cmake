# korvane-cli print: the page as asked for, and refusals that write nothing.
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

function(expect_page_size pdf size)
  execute_process(COMMAND pdfinfo ${pdf} OUTPUT_VARIABLE info RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT info MATCHES "Page size: +${size} pts")
    message(FATAL_ERROR "${pdf}: expected a page of ${size} pts\n${info}")
  endif()
endfunction()

# options, expected page size in points.
set(cases
  "a4|--fit"                           "595 x 842"
  "a3|--paper|a3|--landscape"          "1191 x 842"
  "letter|--paper|Letter|--fit"        "612 x 792")
while(cases)
  list(POP_FRONT cases job size)
  string(REPLACE "|" ";" job "${job}")
  list(POP_FRONT job name)
  run(0 ${CLI} print ${SAMPLES}/site-plan.plt ${WORK}/${name}.pdf ${job})
  expect_page_size(${WORK}/${name}.pdf "${size}")
endwhile()

run(1 ${CLI} print ${SAMPLES}/site-plan.plt ${WORK}/bad.pdf --paper Napkin)
run(1 ${CLI} print ${SAMPLES}/site-plan.plt ${WORK}/bad.pdf --printer Nowhere)
run(1 ${CLI} print ${WORK}/missing.plt ${WORK}/bad.pdf)
if(EXISTS ${WORK}/bad.pdf)
  message(FATAL_ERROR "a refused print left ${WORK}/bad.pdf")
endif()
# No print service on a test machine: the default printer refuses the job.
run(1 ${CLI} print ${SAMPLES}/site-plan.plt --printer Nowhere)
if(NOT ERR MATCHES "Could not start print job.")
  message(FATAL_ERROR "unexpected refusal: ${ERR}")
endif()
