# Desktop integration as installed under a fresh prefix: the plot type is told by content, the
# launcher and thumbnailer name the installed programs, and the thumbnailer's command works.
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

set(prefix ${WORK}/prefix)
set(share ${prefix}/share)
run(0 ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
foreach(file applications/io.github.korvane.Korvane.desktop mime/packages/korvane.xml mime/mime.cache
        icons/hicolor/scalable/apps/korvane.svg
        icons/hicolor/scalable/mimetypes/application-x-korvane-plot.svg
        thumbnailers/io.github.korvane.Korvane.thumbnailer)
  if(NOT EXISTS ${share}/${file})
    message(FATAL_ERROR "not installed: share/${file}")
  endif()
endforeach()

file(READ ${share}/applications/io.github.korvane.Korvane.desktop desktop)
if(NOT desktop MATCHES "\nExec=korvane %F\n" OR NOT desktop MATCHES "\nIcon=korvane\n"
   OR NOT desktop MATCHES "\nMimeType=application/x-korvane-plot;\n")
  message(FATAL_ERROR "unexpected launcher:\n${desktop}")
endif()
find_program(validate desktop-file-validate)
if(validate)
  run(0 ${validate} ${share}/applications/io.github.korvane.Korvane.desktop)
  if(NOT OUT STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${OUT}")
  endif()
endif()

# The plot sample with and without its extension is ours; an HP-GL text file named .plt and a
# binary file that only begins like a plot file are not.
set(files ${WORK}/files)
file(MAKE_DIRECTORY ${files})
configure_file(${SAMPLES}/site-plan.plt ${files}/site-plan.plt COPYONLY)
configure_file(${SAMPLES}/site-plan.plt ${files}/site-plan COPYONLY)
file(WRITE ${files}/x.plt "IN;SP1;PU0,0;PD1000,1000;PU;\n")
file(READ ${SAMPLES}/site-plan.plt head LIMIT 6 HEX)  # the opening record, then text
string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${head}")
execute_process(COMMAND /usr/bin/printf "${escaped}ABCDEFGH" OUTPUT_FILE ${files}/not-a-plot)
set(ENV{XDG_DATA_HOME} ${WORK}/no-user-data)
set(ENV{XDG_DATA_DIRS} ${share}:/usr/share)
foreach(case "site-plan.plt;application/x-korvane-plot" "site-plan;application/x-korvane-plot"
        "x.plt;text/plain" "not-a-plot;application/octet-stream")
  list(GET case 0 name)
  list(GET case 1 type)
  run(0 gio info -a standard::content-type ${files}/${name})
  if(NOT OUT MATCHES "standard::content-type: ([^\n]*)" OR NOT CMAKE_MATCH_1 STREQUAL type)
    message(FATAL_ERROR "${name} is '${CMAKE_MATCH_1}', expected ${type}")
  endif()
endforeach()

# The thumbnailer's own command line, run as a file manager runs it with the installed program.
file(STRINGS ${share}/thumbnailers/io.github.korvane.Korvane.thumbnailer exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=korvane-cli" "${prefix}/bin/korvane-cli" exec "${exec}")
string(REPLACE "%i" "${files}/site-plan" exec "${exec}")
string(REPLACE "%o" "${WORK}/thumb.png" exec "${exec}")
string(REPLACE "%s" "128" exec "${exec}")
separate_arguments(exec UNIX_COMMAND "${exec}")
run(0 ${exec})
file(READ ${WORK}/thumb.png magic LIMIT 4 HEX)
if(NOT magic STREQUAL "89504e47")
  message(FATAL_ERROR "the thumbnailer wrote no PNG")
endif()

# Without its Qt module the installed korvane-cli still converts plots and says what pictures
# lack, writing nothing.
file(REMOVE ${prefix}/lib/korvane/korvane-cli-qt.so)
run(0 ${prefix}/bin/korvane-cli convert ${files}/site-plan ${WORK}/copy.plt)
run(1 ${prefix}/bin/korvane-cli convert ${files}/site-plan ${WORK}/lost.png)
if(NOT ERR MATCHES "pictures, fonts and printing could not be loaded: .*korvane-cli-qt.so" OR EXISTS ${WORK}/lost.png)
  message(FATAL_ERROR "a missing module: ${ERR}")
endif()
