# korvane-cli's GIS outputs as a user runs them: GDAL is mapped only for them, refusals write
# nothing and keep an older file, GeoJSON is RFC 7946's with a coordinate system and carries no
# crs member without one.
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)
set(plot ${SAMPLES}/site-plan.plt)

# The loader names every library it maps; a DXF conversion must not map GDAL.
set(ENV{LD_DEBUG} libs)
run(0 ${CLI} convert ${plot} ${WORK}/a.dxf)
if(ERR MATCHES "libgdal")
  message(FATAL_ERROR "a DXF conversion mapped GDAL")
endif()
run(0 ${CLI} convert ${plot} ${WORK}/a.gpkg)
if(NOT ERR MATCHES "libgdal")
  message(FATAL_ERROR "the GDAL module was not loaded for a GeoPackage")
endif()
unset(ENV{LD_DEBUG})

file(WRITE ${WORK}/keep.gpkg "older")
file(WRITE ${WORK}/a.png "")
file(WRITE ${WORK}/utm.cfg "0\n7\n1\n1\n2\n2\n3\n3\n4\n4\n5\n5\n6\n6\n7\n7\n500000,5000000,0,0,0\n0,0,0,0,0\n0,0,0,0,0\n0,1000,1\n")
foreach(refused
    "keep.gpkg;--crs;EPSG:99999;GIS export refused: unknown coordinate system"
    "keep.gpkg;--format;NoSuchDriver;GIS export refused: GDAL has no vector driver"
    "keep.gpkg;--format;OSM;cannot create files"
    "keep.gpkg;--config;${WORK}/missing.cfg;cannot read the configuration file"
    "a.dxf;--crs;EPSG:32633;--crs applies only to a GIS output"
    "a.png;--format;GPKG;--format applies only to a GIS output")
  list(GET refused 0 out)
  list(GET refused 1 option)
  list(GET refused 2 value)
  list(GET refused 3 message)
  file(SIZE ${WORK}/${out} before)
  run(1 ${CLI} convert ${plot} ${WORK}/${out} ${option} ${value})
  if(NOT ERR MATCHES "${message}")
    message(FATAL_ERROR "${option} ${value}: unexpected message: ${ERR}")
  endif()
  file(SIZE ${WORK}/${out} after)
  file(GLOB strays ${WORK}/.*)
  if(NOT before EQUAL after OR strays)
    message(FATAL_ERROR "${option} ${value} left ${out} changed or temporaries: ${strays}")
  endif()
endforeach()

run(0 ${CLI} convert ${plot} ${WORK}/plain.geojson)
file(READ ${WORK}/plain.geojson plain)
run(0 ${CLI} convert ${plot} ${WORK}/utm.geojson --config ${WORK}/utm.cfg --crs EPSG:32633)
file(READ ${WORK}/utm.geojson utm)
if(plain MATCHES "\"crs\"" OR utm MATCHES "\"crs\"")
  message(FATAL_ERROR "GeoJSON carries a crs member")
endif()
# 500 km east on the central meridian of UTM zone 33 is 15 degrees east.
if(NOT utm MATCHES "\\[ 15\\.0[0-9]*, 45\\.1" OR NOT plain MATCHES "\"kind\": \"texts\"")
  message(FATAL_ERROR "GeoJSON not in longitude and latitude, or without kinds")
endif()

run(0 ${CLI} convert ${plot} ${WORK}/fgb --format FlatGeobuf)
foreach(layer lines texts symbols circles)
  if(NOT EXISTS ${WORK}/fgb/${layer}.fgb)
    message(FATAL_ERROR "FlatGeobuf folder lacks ${layer}.fgb")
  endif()
endforeach()
